// Times whole exports of generated documents through the real module, in process: a session loads
// the module folder, and the scene saver writes each document as the application's export menu
// would. Two series: many small objects (100, 1,000, 10,000 objects of 12 triangles each) and one
// large object (10 thousand to 1 million triangles). For each document it also times the host's
// own 3DS save of the whole document, and, as the peer figure, `assimp export` converting the same
// geometry from OBJ to 3DS. The objects series runs in both geometry strategies: the per-object
// one (a file per object) and the merged one (the render-settings tag's LCFG_MERGED_MESH_EXPORT).
//
//   lumeno_export_bench [--module DIR] [--work DIR] [--repeat N] [--max-triangles N]
//                       [--series all|objects] [--chain LEVELS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "host/files/three_ds_writer.h"
#include "host/geometry/matrix.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/placement.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/session.h"
#include "host_constants.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t saverId = 1019430; // the module's scene saver

struct Options {
    fs::path module = LUMENO_BENCH_MODULE_DIR;
    fs::path work;
    int repeat = 3;
    long maxTriangles = 1000000;
    bool objectsOnly = false; // --series objects: the objects series alone, in both strategies
    int32_t chain = 0; // when set: only a chain of this many levels beside as many flat objects
};

constexpr int32_t renderSettingsTagId = 10000;
constexpr int32_t mergedMeshExportId = 1018; // LCFG_MERGED_MESH_EXPORT

/// A box of 8 points and 6 quads (12 triangles) with its fronts outside.
void makeBox(HostNode& object)
{
    object.points = {{-10, -10, -10}, {10, -10, -10}, {10, 10, -10}, {-10, 10, -10},
                     {-10, -10, 10},  {10, -10, 10},  {10, 10, 10},  {-10, 10, 10}};
    object.polygons = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
}

/// A flat grid of columns x rows quads in the x-z plane, facing +y.
void makeGrid(HostNode& object, int32_t columns, int32_t rows)
{
    object.points.reserve(std::size_t(columns + 1) * std::size_t(rows + 1));
    for (int32_t r = 0; r <= rows; ++r)
        for (int32_t c = 0; c <= columns; ++c)
            object.points.push_back({float(c), 0, float(r)});
    object.polygons.reserve(std::size_t(columns) * std::size_t(rows));
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t p = r * (columns + 1) + c;
            object.polygons.push_back({p, p + columns + 1, p + columns + 2, p + 1});
        }
}

host::NodePtr objectsDocument(int32_t count)
{
    host::NodePtr doc = host::createDocument();
    std::vector<HostNode*> materials;
    for (int i = 0; i < 4; ++i)
        materials.push_back(host::makeMaterial(*doc, "Material " + std::to_string(i)));
    for (int32_t i = 0; i < count; ++i) {
        HostNode* box = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Box " + std::to_string(i));
        box->local.off = {float(i % 100) * 30, 0, float(i / 100) * 30};
        makeBox(*box);
        host::makeTextureTag(*box, *materials[std::size_t(i) % materials.size()]);
    }
    return doc;
}

/// The same objects under a render-settings tag that turns the merged strategy on.
host::NodePtr mergedObjectsDocument(host::Session& session, int32_t count)
{
    host::NodePtr doc = objectsDocument(count);
    HostNode* settings = host::makeObject(*doc, TYPE_NULL, "Settings");
    host::addPluginTag(session.registry(), *settings, renderSettingsTagId)->params.setBool(mergedMeshExportId, true);
    return doc;
}

/// `count` boxes, each the child of the one before and 30 units beside it.
host::NodePtr chainDocument(int32_t count)
{
    host::NodePtr doc = host::createDocument();
    HostNode* material = host::makeMaterial(*doc, "Material");
    HostNode* parent = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        HostNode* box = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Box " + std::to_string(i), parent);
        box->local.off = {parent ? 30.0f : 0.0f, 0, 0};
        makeBox(*box);
        host::makeTextureTag(*box, *material);
        parent = box;
    }
    return doc;
}

host::NodePtr trianglesDocument(long triangles)
{
    host::NodePtr doc = host::createDocument();
    HostNode* material = host::makeMaterial(*doc, "Ground");
    HostNode* grid = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Grid");
    const long quads = triangles / 2;
    const int32_t columns = int32_t(std::min<long>(1000, quads));
    makeGrid(*grid, columns, int32_t(quads / columns));
    host::makeTextureTag(*grid, *material);
    return doc;
}

/// 10,000 null objects (100 groups of 99 children) and `count` materials of the four forms in
/// turn, each with a texture and a material helper tag on an object spread over the tree. No
/// object has a texture tag, so the export's time is the walks and the material section.
host::NodePtr materialsDocument(host::Session& session, int32_t count)
{
    constexpr int32_t helperTagId = 10008;
    host::NodePtr doc = host::createDocument();
    std::vector<HostNode*> objects;
    for (int32_t g = 0; g < 100; ++g) {
        HostNode* group = host::makeObject(*doc, TYPE_NULL, "Group " + std::to_string(g));
        objects.push_back(group);
        for (int32_t c = 0; c < 99; ++c)
            objects.push_back(host::makeObject(*doc, TYPE_NULL, "Null " + std::to_string(c), group));
    }
    const int32_t forms[] = {0, 9, 2, 3};
    for (int32_t i = 0; i < count; ++i) {
        HostNode* material = host::makeMaterial(*doc, "Material " + std::to_string(i));
        host::channel(*material, forms[i % 4]).enabled = true;
        host::channel(*material, 0).enabled = true;
        host::channel(*material, 0).data.setString(1002, "texture" + std::to_string(i) + ".png");
        material->params.setVector(2100, {float(i % 10) / 10, 0.5f, 0.5f});
        HostNode* holder = objects[std::size_t(i) * objects.size() / std::size_t(count)];
        HostNode* tag = host::addPluginTag(session.registry(), *holder, helperTagId);
        tag->params.setLink(1000, material);
    }
    return doc;
}

/// The document's polygon objects as one OBJ file, points in world space.
void writeObj(const HostNode& document, const fs::path& file)
{
    std::ofstream out(file);
    long base = 1;
    host::forEachObject(document, [&](const HostNode& object) {
        if (object.polygons.empty())
            return;
        out << "o " << object.name << "\n";
        const HostMatrix global = host::globalMatrix(object);
        for (const HostVector& p : object.points) {
            const HostVector w = host::transformPoint(global, p);
            out << "v " << w.x << ' ' << w.y << ' ' << w.z << "\n";
        }
        for (const HostPolygon& p : object.polygons) {
            out << "f " << base + p.a << ' ' << base + p.b << ' ' << base + p.c;
            if (p.c != p.d)
                out << ' ' << base + p.d;
            out << "\n";
        }
        base += long(object.points.size());
    });
}

/// The best of `repeat` runs, in seconds; negative when a run fails.
double best(int repeat, const std::function<bool()>& run)
{
    double fastest = -1;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = run();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok)
            return -1;
        fastest = fastest < 0 ? seconds : std::min(fastest, seconds);
    }
    return fastest;
}

struct Figures {
    double exportSeconds;
    std::size_t meshFiles;
    double megabytes;
    double hostSaveSeconds;
    double assimpSeconds;
};

/// The export alone (best of `repeat`), the files it left in `label`'s folder and their size; the
/// folder stays for measure() to add the peers.
Figures exportFigures(host::Session& session, HostNode& document, const fs::path& folder, int repeat)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    Figures f{};
    f.exportSeconds = best(repeat, [&] {
        return session.saveWithSaver(saverId, &document, folder / "scene.xml") == FILE_RESULT_OK;
    });
    for (const auto& entry : fs::directory_iterator(folder)) {
        f.megabytes += double(entry.file_size()) / 1e6;
        if (entry.path().extension() == ".3DS")
            ++f.meshFiles;
    }
    return f;
}

Figures measureExport(host::Session& session, HostNode& document, const Options& options, const std::string& label,
                      int repeat)
{
    const Figures f = exportFigures(session, document, options.work / label, repeat);
    fs::remove_all(options.work / label);
    return f;
}

Figures measure(host::Session& session, HostNode& document, const Options& options, const std::string& label,
                int repeat)
{
    const fs::path folder = options.work / label;
    Figures f = exportFigures(session, document, folder, repeat);
    f.hostSaveSeconds = best(repeat, [&] {
        host::saveThreeDs(document, folder / "whole.3DS");
        return true;
    });
    writeObj(document, folder / "peer.obj");
    const std::string command = "assimp export '" + (folder / "peer.obj").string() + "' '" +
                                (folder / "peer.3ds").string() + "' >/dev/null 2>&1";
    f.assimpSeconds = best(repeat, [&] { return std::system(command.c_str()) == 0; });
    fs::remove_all(folder);
    return f;
}

std::string seconds(double s)
{
    if (s < 0)
        return "failed";
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", s);
    return text;
}

std::string rate(double count, double s)
{
    if (s <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", count / s);
    return text;
}

void row(const std::string& size, double count, const Figures& f)
{
    std::printf("| %s | %s | %s | %zu | %.1f | %s | %s |\n", size.c_str(), seconds(f.exportSeconds).c_str(),
                rate(count, f.exportSeconds).c_str(), f.meshFiles, f.megabytes, seconds(f.hostSaveSeconds).c_str(),
                seconds(f.assimpSeconds).c_str());
    std::fflush(stdout);
}

/// The export of a chain of `levels` objects beside that of as many flat objects.
void chainSeries(host::Session& session, const Options& options)
{
    const fs::path folder = options.work / "chain";
    fs::create_directories(folder);
    auto time = [&](HostNode& doc) {
        return best(options.repeat, [&] {
            return session.saveWithSaver(saverId, &doc, folder / "scene.xml") == FILE_RESULT_OK;
        });
    };
    host::NodePtr chain = chainDocument(options.chain);
    const double chainSeconds = time(*chain);
    chain.reset();
    host::NodePtr flat = objectsDocument(options.chain);
    const double flatSeconds = time(*flat);
    std::printf("| %d | %s | %s | %.2f |\n", options.chain, seconds(chainSeconds).c_str(), seconds(flatSeconds).c_str(),
                flatSeconds > 0 ? chainSeconds / flatSeconds : 0.0);
    fs::remove_all(folder);
}

Options parse(int argc, char** argv)
{
    Options o;
    o.work = fs::temp_directory_path() / ("lumeno-bench-" + std::to_string(::getpid()));
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--module")
            o.module = argv[i + 1];
        else if (key == "--work")
            o.work = argv[i + 1];
        else if (key == "--repeat")
            o.repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (key == "--series")
            o.objectsOnly = std::string(argv[i + 1]) == "objects";
        else if (key == "--chain")
            o.chain = std::atoi(argv[i + 1]);
        else if (key == "--max-triangles")
            o.maxTriangles = std::atol(argv[i + 1]);
        else
            throw std::runtime_error("unknown option " + key);
    }
    return o;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = parse(argc, argv);
        fs::create_directories(options.work);
        host::SessionOptions sessionOptions;
        sessionOptions.prefsFile = options.work / "prefs.json";
        host::Session session(sessionOptions);
        session.loadModule(options.module);
        if (session.startModule() != C4D_RESULT_OK)
            throw std::runtime_error("the module in " + options.module.string() + " did not start");

        if (options.chain > 0) {
            std::printf("| levels | chain export s | flat export s | chain / flat |\n|---|---|---|---|\n");
            chainSeries(session, options);
            fs::remove_all(options.work);
            return 0;
        }
        std::printf("Objects of 12 triangles each\n\n");
        std::printf("| objects | export s | objects/s | 3DS files | MB written | host 3DS save s | assimp obj->3ds s |\n");
        std::printf("|---|---|---|---|---|---|---|\n");
        std::vector<double> perObjectSeconds;
        for (const int32_t count : {100, 1000, 10000}) {
            host::NodePtr doc = objectsDocument(count);
            const Figures f = measure(session, *doc, options, "objects", options.repeat);
            perObjectSeconds.push_back(f.exportSeconds);
            row(std::to_string(count), count, f);
        }

        std::printf("\nThe same objects, merged strategy\n\n");
        std::printf("| objects | export s | objects/s | 3DS files | MB written | ms per object | per-object ms per object | merged / per-object |\n");
        std::printf("|---|---|---|---|---|---|---|---|\n");
        std::size_t n = 0;
        for (const int32_t count : {100, 1000, 10000}) {
            host::NodePtr doc = mergedObjectsDocument(session, count);
            const Figures f = measureExport(session, *doc, options, "merged", options.repeat);
            const double perObject = perObjectSeconds[n++];
            std::printf("| %d | %s | %s | %zu | %.1f | %.4f | %.4f | %.2f |\n", count, seconds(f.exportSeconds).c_str(),
                        rate(count, f.exportSeconds).c_str(), f.meshFiles, f.megabytes, 1000 * f.exportSeconds / count,
                        1000 * perObject / count, perObject > 0 ? f.exportSeconds / perObject : 0.0);
            std::fflush(stdout);
        }
        if (options.objectsOnly) {
            fs::remove_all(options.work);
            return 0;
        }

        std::printf("\nOne object of many triangles\n\n");
        std::printf("| triangles | export s | triangles/s | 3DS files | MB written | host 3DS save s | assimp obj->3ds s |\n");
        std::printf("|---|---|---|---|---|---|---|\n");
        for (const long triangles : {10000L, 100000L, 1000000L}) {
            if (triangles > options.maxTriangles)
                break;
            host::NodePtr doc = trianglesDocument(triangles);
            const int repeat = triangles >= 1000000 ? 1 : options.repeat;
            row(std::to_string(triangles), double(triangles), measure(session, *doc, options, "triangles", repeat));
        }
        std::printf("\nMaterials, each with a texture and a helper tag, over 10,000 objects\n\n");
        std::printf("| materials | objects | export s | materials/s | material elements |\n");
        std::printf("|---|---|---|---|---|\n");
        for (const int32_t count : {10, 100, 1000}) {
            host::NodePtr doc = materialsDocument(session, count);
            const fs::path folder = options.work / "materials";
            fs::create_directories(folder);
            const double s = best(options.repeat, [&] {
                return session.saveWithSaver(saverId, doc.get(), folder / "scene.xml") == FILE_RESULT_OK;
            });
            std::ifstream in(folder / "scene.xml");
            std::string line;
            long elements = 0;
            while (std::getline(in, line))
                if (line.find("<material>") != std::string::npos)
                    ++elements;
            std::printf("| %d | 10000 | %s | %s | %ld |\n", count, seconds(s).c_str(), rate(count, s).c_str(), elements);
            std::fflush(stdout);
            fs::remove_all(folder);
        }
        for (const std::string& line : session.diagnostics())
            std::fprintf(stderr, "host: %s\n", line.c_str());
        fs::remove_all(options.work);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lumeno_export_bench: %s\n", e.what());
        return 1;
    }
}
