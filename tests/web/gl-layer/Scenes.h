// Small scenes written once against OpenGL 1.1, drawn by Mesa for the
// reference pictures and by the WebGL layer in the browser.
#pragma once

constexpr int kSceneWidth = 320;
constexpr int kSceneHeight = 240;

struct Scene {
    const char* name;
    void (*init)();  // textures and display lists, once
    void (*draw)();  // one frame: sets every state it depends on
};

extern const Scene kScenes[];
extern const int kSceneCount;
