// Small scenes written once against OpenGL 1.1, drawn by Mesa for the
// reference pictures and by the WebGL layer in the browser.
#pragma once

struct Scene {
    const char* name;
    void (*init)();  // textures and display lists, once
    void (*draw)();  // one frame: sets every state it depends on
    int width = 320, height = 240;
};

// The size of the scene being drawn; the mains set it before init().
extern int sceneWidth, sceneHeight;

extern const Scene kScenes[];
extern const int kSceneCount;
