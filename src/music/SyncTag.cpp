#include "music/SyncTag.h"

#include <cstring>

void SyncTag::post(const char* name) {
    if (name == nullptr) return;
    std::lock_guard<std::mutex> hold(lock);
    std::strncpy(pending, name, kSize - 1);
    pending[kSize - 1] = '\0';
    std::memcpy(last, pending, kSize);
}

const char* SyncTag::take() {
    std::lock_guard<std::mutex> hold(lock);
    std::memcpy(current, pending, kSize);
    pending[0] = '\0';
    return current;
}

std::string SyncTag::waiting() {
    std::lock_guard<std::mutex> hold(lock);
    return pending;
}

void SyncTag::setWaiting(const std::string& name) {
    std::lock_guard<std::mutex> hold(lock);
    std::strncpy(pending, name.c_str(), kSize - 1);
    pending[kSize - 1] = '\0';
}

std::string SyncTag::lastPosted() {
    std::lock_guard<std::mutex> hold(lock);
    return last;
}

SyncTag& showSyncTag() {
    static SyncTag tag;
    return tag;
}
