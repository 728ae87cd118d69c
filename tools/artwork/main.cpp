// kelvo-artwork OUTPUT_FOLDER
//
// Renders the bundle photographs of the faceplate editors: "Iron-Blank-Panel",
// "IronFennic-Approved", "IronFennic-Clean", "IronCorvel-Blank" (1983 by 793 art units at
// twice the art resolution) and "Iron-Model-Badges-v2" (a 1538 by 1000 point atlas), as PNG
// files.

#include "faceplates.h"

#include <cstdio>
#include <functional>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvo-artwork OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    using artwork::Canvas;
    struct Job {
        const char* name;
        std::function<bool(const std::string&)> render;
    };
    const Job jobs[] = {
        {"Iron-Blank-Panel",
         [](const std::string& path) {
             Canvas canvas(artwork::artWidth, artwork::artHeight);
             artwork::blankPanel(canvas);
             return canvas.writePng(path);
         }},
        {"IronFennic-Approved",
         [](const std::string& path) {
             Canvas canvas(artwork::artWidth, artwork::artHeight);
             artwork::fennicPhotograph(canvas, true);
             return canvas.writePng(path);
         }},
        {"IronFennic-Clean",
         [](const std::string& path) {
             Canvas canvas(artwork::artWidth, artwork::artHeight);
             artwork::fennicPhotograph(canvas, false);
             return canvas.writePng(path);
         }},
        {"IronCorvel-Blank",
         [](const std::string& path) {
             Canvas canvas(artwork::artWidth, artwork::artHeight);
             artwork::corvelPhotograph(canvas);
             return canvas.writePng(path);
         }},
        {"Iron-Model-Badges-v2",
         [](const std::string& path) {
             // The atlas is addressed in its own points, so it is made at one pixel per point;
             // its tiles are already twice as dense as the badge they are drawn into.
             Canvas canvas(artwork::atlasWidth, artwork::atlasHeight, 1);
             artwork::badgeAtlas(canvas);
             return canvas.writePng(path);
         }},
    };
    for (const Job& job : jobs) {
        const std::string path = folder + "/" + job.name + ".png";
        if (!job.render(path)) {
            std::fprintf(stderr, "kelvo-artwork: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
