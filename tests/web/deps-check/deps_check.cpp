// Reads each file named on the command line through the library that the show
// uses for its kind (.jpg libjpeg, .3ds lib3ds, .wav libsndfile) and prints one
// line of what it read, with a checksum of the data. Built natively against
// the system's libraries and for the browser against build-web/deps, both must
// print the same lines: the browser's libraries then read our data as the
// native ones do.
#include <cctype>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>
#include <sndfile.h>

namespace {

struct Fnv {  // FNV-1a, 64 bits
    uint64_t h = 0xcbf29ce484222325u;
    void add(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 0x100000001b3u;
    }
    template <class T>
    void add(const T& value) {
        add(&value, sizeof value);
    }
    std::string hex() const {
        char s[17];
        std::snprintf(s, sizeof s, "%016llx", static_cast<unsigned long long>(h));
        return s;
    }
};

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void jpeg(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::printf("jpg %s: failed: cannot open\n", path);
        return;
    }
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); };
    std::vector<unsigned char> row;
    if (setjmp(err.jump)) {
        char message[JMSG_LENGTH_MAX];
        err.mgr.format_message(reinterpret_cast<j_common_ptr>(&cinfo), message);
        std::printf("jpg %s: failed: %s\n", path, message);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    row.resize(size_t(cinfo.output_width) * cinfo.output_components);
    Fnv sum;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        sum.add(row.data(), row.size());
    }
    std::printf("jpg %s: %ux%u components %d progressive %d pixels %s\n", path, cinfo.output_width, cinfo.output_height,
                cinfo.output_components, int(jpeg_has_multiple_scans(&cinfo)), sum.hex().c_str());
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
}

int countNodes(const Lib3dsNode* n) {
    int count = 0;
    for (; n; n = n->next) count += 1 + countNodes(n->childs);
    return count;
}

void model(const char* path) {
    Lib3dsFile* file = lib3ds_file_load(path);
    if (!file) {
        std::printf("3ds %s: failed: not loaded\n", path);
        return;
    }
    int meshes = 0, materials = 0;
    unsigned long points = 0, faces = 0, texels = 0;
    Fnv sum;
    for (const Lib3dsMesh* m = file->meshes; m; m = m->next, ++meshes) {
        points += m->points;
        faces += m->faces;
        texels += m->texels;
        sum.add(m->name, std::strlen(m->name));
        for (unsigned i = 0; i < m->points; ++i) sum.add(m->pointL[i].pos);
        for (unsigned i = 0; i < m->texels; ++i) sum.add(m->texelL[i]);
        for (unsigned i = 0; i < m->faces; ++i) {
            const Lib3dsFace& face = m->faceL[i];
            sum.add(face.points);
            sum.add(face.smoothing);
            sum.add(face.material, std::strlen(face.material));
        }
    }
    for (const Lib3dsMaterial* m = file->materials; m; m = m->next) ++materials;
    std::printf("3ds %s: meshes %d points %lu faces %lu texels %lu materials %d nodes %d frames %d data %s\n", path,
                meshes, points, faces, texels, materials, countNodes(file->nodes), int(file->frames),
                sum.hex().c_str());
    lib3ds_file_free(file);
}

void sound(const char* path) {
    SF_INFO info{};
    SNDFILE* f = sf_open(path, SFM_READ, &info);
    if (!f) {
        std::printf("wav %s: failed: %s\n", path, sf_strerror(nullptr));
        return;
    }
    std::vector<int> frames(size_t(info.frames) * info.channels);
    const sf_count_t read = sf_readf_int(f, frames.data(), info.frames);
    Fnv sum;
    sum.add(frames.data(), size_t(read) * info.channels * sizeof(int));
    std::printf("wav %s: %d Hz %d channels format %#x frames %lld read %lld samples %s\n", path, info.samplerate,
                info.channels, unsigned(info.format), static_cast<long long>(info.frames), static_cast<long long>(read),
                sum.hex().c_str());
    SF_CUES cues{};
    if (sf_command(f, SFC_GET_CUE, &cues, sizeof cues) == SF_TRUE) {
        for (uint32_t i = 0; i < cues.cue_count && i < 100; ++i) {
            const SF_CUE_POINT& c = cues.cue_points[i];
            std::printf("  cue %d at %u (offset %u) \"%.*s\"\n", int(c.indx), unsigned(c.position),
                        unsigned(c.sample_offset), int(strnlen(c.name, sizeof c.name)), c.name);
        }
    } else {
        std::printf("  no cues\n");
    }
    sf_close(f);
}

bool endsWith(std::string s, const char* suffix) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    const size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (endsWith(argv[i], ".jpg"))
            jpeg(argv[i]);
        else if (endsWith(argv[i], ".3ds"))
            model(argv[i]);
        else if (endsWith(argv[i], ".wav"))
            sound(argv[i]);
        else {
            std::fprintf(stderr, "deps-check: %s: unknown kind\n", argv[i]);
            return 2;
        }
    }
    return 0;
}
