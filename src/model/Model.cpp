#include "model/Model.h"

#include <lib3ds/node.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/CShader.h"
#include "model/ModelFile.h"
#include "platform/DataPath.h"
#include "platform/FatalExit.h"

namespace {

// Each child's subtree before the node itself.
void forgetLists(Lib3dsNode* node) {
    for (Lib3dsNode* child = node->childs; child != nullptr; child = child->next) forgetLists(child);
    node->user.d = 0;
}

}  // namespace

Model::Model(const char* fileName) {
    const std::optional<std::vector<std::uint8_t>> bytes = platform::readDataFile(fileName);
    file = bytes ? loadModelFile(bytes->data(), bytes->size()) : nullptr;
    if (file == nullptr) {
        platform::fatalExit(std::string("sorry but could not load ") + fileName + " must therfor exit!\n");
    }
    lib3ds_file_eval(file, 0.0f);
    frameCount = file->frames;
    shaders.setOwner([this](CShader* chosen) { setShader(chosen); });
    shaders.selectPlain();
}

// The renderers go after the file, but only their own node copies and lists
// are theirs: nothing of the file is touched again.
Model::~Model() { lib3ds_file_free(file); }

void Model::draw(int frame) {
    if (frame >= frameCount || current == nullptr) return;
    lib3ds_file_eval(file, static_cast<float>(frame));
    current->render(file);
}

void Model::setShader(CShader* shader) {
    current = shader;
    for (Lib3dsNode* node = file->nodes; node != nullptr; node = node->next) forgetLists(node);
}
