// The 3DS save, read back with assimp (geometry, materials) and with a small chunk reader
// (names and each object's own counts).
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>
#include <cctype>
#include <set>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "host/files/three_ds_writer.h"
#include "host/geometry/current_state.h"
#include "host/geometry/matrix.h"
#include "host/geometry/primitive_params.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/session.h"
#include "host/table/host_table_impl.h"
#include "host/text/host_text.h"
#include "host_constants.h"
#include "tests/host/files/three_ds_layout.h"
#include "tests/host/mesh_checks.h"

namespace fs = std::filesystem;

namespace {

HostMatrix translation(float x, float y, float z)
{
    HostMatrix m = host::identityMatrix();
    m.off = {x, y, z};
    return m;
}

/// A 3DS file read back with assimp. The reader gives every face corner its own vertex; here
/// the corners of a mesh are joined again by position, so that shared points and edges show.
struct ReadBack {
    struct Mesh {
        std::vector<HostVector> points;
        std::vector<meshcheck::Triangle> triangles;
        std::string material;
        aiColor3D diffuse;
    };
    std::vector<Mesh> meshes;
    bool read = false;

    explicit ReadBack(const fs::path& file)
    {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(file.string(), 0);
        if (!scene) {
            ADD_FAILURE() << "assimp cannot read " << file << ": " << importer.GetErrorString();
            return;
        }
        read = true;
        for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
            const aiMesh* m = scene->mMeshes[i];
            Mesh mesh;
            std::map<std::tuple<float, float, float>, int> indexOf;
            std::vector<int> joined(m->mNumVertices);
            for (unsigned v = 0; v < m->mNumVertices; ++v) {
                const aiVector3D& p = m->mVertices[v];
                const auto [it, added] = indexOf.try_emplace({p.x, p.y, p.z}, int(mesh.points.size()));
                if (added)
                    mesh.points.push_back({p.x, p.y, p.z});
                joined[v] = it->second;
            }
            for (unsigned f = 0; f < m->mNumFaces; ++f) {
                EXPECT_EQ(m->mFaces[f].mNumIndices, 3u);
                const unsigned* x = m->mFaces[f].mIndices;
                mesh.triangles.push_back({joined[x[0]], joined[x[1]], joined[x[2]]});
            }
            const aiMaterial* material = scene->mMaterials[m->mMaterialIndex];
            aiString name;
            material->Get(AI_MATKEY_NAME, name);
            mesh.material = name.C_Str();
            material->Get(AI_MATKEY_COLOR_DIFFUSE, mesh.diffuse);
            meshes.push_back(std::move(mesh));
        }
    }

    std::size_t faces() const
    {
        std::size_t n = 0;
        for (const Mesh& m : meshes)
            n += m.triangles.size();
        return n;
    }

    std::size_t vertices() const
    {
        std::size_t n = 0;
        for (const Mesh& m : meshes)
            n += m.points.size();
        return n;
    }

    /// Every point of every mesh, in file axes.
    std::vector<HostVector> points() const
    {
        std::vector<HostVector> result;
        for (const Mesh& m : meshes)
            result.insert(result.end(), m.points.begin(), m.points.end());
        return result;
    }
};

void expectNear(const HostVector& actual, const HostVector& expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class ThreeDsSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("lumeno-3ds-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path file(const std::string& name) const { return folder_ / name; }

    /// Saves through the function table, as the module does; answers the file result.
    int32_t save(HostNode& document, const fs::path& path, int32_t format = SAVE_FORMAT_3DS)
    {
        HostFilename name{path.string()};
        return host::documentOps().save(&document, &name, 0, format);
    }

    /// The names of the files in the test's folder.
    std::set<std::string> folderContents() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.insert(entry.path().filename().string());
        return names;
    }

    /// Adds the current state of a primitive as a top-level polygon object.
    static HostNode* addConverted(HostNode& document, int32_t type, const HostMatrix& placement,
                                  void (*configure)(HostNode&) = nullptr)
    {
        host::NodePtr primitive = host::newObject(type, "Shape");
        primitive->local = placement;
        if (configure)
            configure(*primitive);
        return host::appendObject(document, host::currentStateToObject(*primitive, false));
    }

    fs::path folder_;
};

TEST_F(ThreeDsSave, PointsAreInRendererAxesWithTheGlobalMatrixBakedIn)
{
    auto doc = host::createDocument();
    HostNode* parent = host::makeObject(*doc, TYPE_NULL, "Parent");
    parent->local = translation(100, 0, 0);
    HostNode* tri = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Tri", parent);
    tri->local = translation(0, 10, 0);
    tri->points = {{1, 2, 3}, {4, 2, 3}, {1, 5, 3}};
    tri->polygons = {{0, 1, 2, 2}};
    ASSERT_EQ(save(*doc, file("a.3DS")), FILE_RESULT_OK);

    ReadBack back(file("a.3DS"));
    ASSERT_TRUE(back.read);
    EXPECT_EQ(back.vertices(), 3u);
    EXPECT_EQ(back.faces(), 1u);
    // Host (x, y, z) + (100, 10, 0) lands at (x, z, y) in the file: the point (1, 2, 3) at
    // (101, 3, 12).
    std::vector<HostVector> points = back.points();
    ASSERT_EQ(points.size(), 3u);
    std::sort(points.begin(), points.end(), [](const HostVector& a, const HostVector& b) {
        return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    });
    expectNear(points[0], {101, 3, 12});
    expectNear(points[1], {101, 3, 15});
    expectNear(points[2], {104, 3, 12});
}

TEST_F(ThreeDsSave, QuadIsSplitIntoTwoTrianglesFacingAsTheQuad)
{
    auto doc = host::createDocument();
    HostNode* quad = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Quad");
    // Front (b - a) x (c - a) = +y in the host, so +z in the file.
    quad->points = {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}};
    quad->polygons = {{0, 1, 2, 3}};
    ASSERT_EQ(save(*doc, file("q.3DS")), FILE_RESULT_OK);

    const layout::File written = layout::read(file("q.3DS"));
    ASSERT_EQ(written.objects.size(), 1u);
    EXPECT_EQ(written.objects[0].points, 4);
    EXPECT_EQ(written.objects[0].faces, 2);
    ReadBack back(file("q.3DS"));
    ASSERT_TRUE(back.read);
    ASSERT_EQ(back.meshes.size(), 1u);
    EXPECT_EQ(back.vertices(), 4u);
    EXPECT_EQ(back.faces(), 2u);
    EXPECT_TRUE(meshcheck::facesAway(back.meshes[0].points, back.meshes[0].triangles, meshcheck::from({0.5f, 0.5f, -1})));
}

TEST_F(ThreeDsSave, ClosedPrimitivesFaceOutwardsAfterTheAxisExchange)
{
    auto doc = host::createDocument();
    // A rotated cube at (50, 60, 70), a sphere at the origin mirrored in x.
    HostMatrix cubePlace = host::matrixFromPlacement({50, 60, 70}, {0.5f, 0.3f, 0.1f}, {1, 1, 1});
    addConverted(*doc, TYPE_CUBE, cubePlace);
    HostMatrix mirrored = host::identityMatrix();
    mirrored.v1 = {-1, 0, 0};
    addConverted(*doc, TYPE_SPHERE, mirrored, [](HostNode& s) { s.params.setInt(host::SPHERE_SEGMENTS, 12); });
    ASSERT_EQ(save(*doc, file("c.3DS")), FILE_RESULT_OK);

    ReadBack back(file("c.3DS"));
    ASSERT_TRUE(back.read);
    ASSERT_EQ(back.meshes.size(), 2u);
    // Which mesh is which: the cube has 8 points.
    const std::size_t cube = back.meshes[0].points.size() == 8 ? 0 : 1;
    const std::size_t sphere = 1 - cube;
    EXPECT_EQ(back.meshes[cube].points.size(), 8u);
    EXPECT_EQ(back.meshes[cube].triangles.size(), 12u);
    // 12 segments, 6 rings: 2 + 5 * 12 points; 24 pole triangles and 48 quads.
    EXPECT_EQ(back.meshes[sphere].points.size(), 62u);
    EXPECT_EQ(back.meshes[sphere].triangles.size(), 24u + 2 * 48);
    for (const std::size_t m : {cube, sphere}) {
        EXPECT_TRUE(meshcheck::closed(back.meshes[m].triangles));
        const HostVector centre = m == cube ? HostVector{50, 70, 60} : HostVector{0, 0, 0};
        EXPECT_TRUE(meshcheck::facesAway(back.meshes[m].points, back.meshes[m].triangles, meshcheck::from(centre)))
            << "mesh " << m;
    }
}

TEST_F(ThreeDsSave, FacesTakeTheMaterialOfTheTextureTagOrOfTheNearestAncestor)
{
    auto doc = host::createDocument();
    HostNode* red = host::makeMaterial(*doc, "Red");
    host::channel(*red, 0).enabled = true;
    red->params.setVector(2100, {1, 0, 0});
    HostNode* blue = host::makeMaterial(*doc, "Blue");
    host::channel(*blue, 0).enabled = true;
    blue->params.setVector(2100, {0, 0, 1});
    HostNode* unused = host::makeMaterial(*doc, "Unused"); // colour channel off: grey
    static_cast<void>(unused);
    auto other = host::createDocument();
    HostNode* stranger = host::makeMaterial(*other, "Stranger");

    auto triangle = [&](const std::string& name, HostNode* parent) {
        HostNode* o = host::makeObject(*doc, TYPE_POLYGON_OBJECT, name, parent);
        o->points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        o->polygons = {{0, 1, 2, 2}};
        return o;
    };
    HostNode* group = host::makeObject(*doc, TYPE_NULL, "Group");
    host::makeTextureTag(*group, *blue);
    triangle("Child", group);                                          // inherits Blue
    host::makeTextureTag(*triangle("Own", group), *red);               // its own Red
    HostNode* both = triangle("Both", nullptr);                        // the last tag wins
    host::makeTextureTag(*both, *red);
    host::makeTextureTag(*both, *blue);
    host::makeTextureTag(*triangle("Foreign", nullptr), *stranger);   // not in the list: none
    triangle("Bare", nullptr);                                         // none
    ASSERT_EQ(save(*doc, file("m.3DS")), FILE_RESULT_OK);

    const layout::File written = layout::read(file("m.3DS"));
    ASSERT_EQ(written.materials.size(), 3u);
    EXPECT_EQ(written.materials[0].name, "Red");
    EXPECT_EQ(written.materials[0].rgb[0], 255);
    EXPECT_EQ(written.materials[0].rgb[2], 0);
    EXPECT_EQ(written.materials[1].name, "Blue");
    EXPECT_EQ(written.materials[2].name, "Unused");
    EXPECT_EQ(written.materials[2].rgb[1], 204); // 0.8 grey
    std::map<std::string, std::string> materialOf;
    for (const layout::Object& o : written.objects)
        materialOf[o.name] = o.material;
    EXPECT_EQ(materialOf.at("Child"), "Blue");
    EXPECT_EQ(materialOf.at("Own"), "Red");
    EXPECT_EQ(materialOf.at("Both"), "Blue");
    EXPECT_EQ(materialOf.at("Foreign"), "");
    EXPECT_EQ(materialOf.at("Bare"), "");

    // assimp ties the faces to the same materials, colours included.
    ReadBack back(file("m.3DS"));
    ASSERT_TRUE(back.read);
    std::size_t redFaces = 0, blueFaces = 0;
    for (const ReadBack::Mesh& mesh : back.meshes) {
        if (mesh.material == "Red") {
            redFaces += mesh.triangles.size();
            EXPECT_NEAR(mesh.diffuse.r, 1.0f, 1e-2f);
            EXPECT_NEAR(mesh.diffuse.b, 0.0f, 1e-2f);
        } else if (mesh.material == "Blue") {
            blueFaces += mesh.triangles.size();
            EXPECT_NEAR(mesh.diffuse.b, 1.0f, 1e-2f);
        }
    }
    EXPECT_EQ(redFaces, 1u);
    EXPECT_EQ(blueFaces, 2u);
}

TEST_F(ThreeDsSave, LargeObjectIsSplitIntoMeshesWithinTheFormatsLimits)
{
    auto doc = host::createDocument();
    // 300 x 300 quads: 90601 points and 180000 triangles; the face limit cuts first.
    addConverted(*doc, TYPE_PLANE, host::identityMatrix(), [](HostNode& p) {
        p.params.setInt(host::PLANE_SEGMENTS_WIDTH, 300);
        p.params.setInt(host::PLANE_SEGMENTS_HEIGHT, 300);
    });
    // 24000 separate triangles: 72000 points; the point limit cuts first.
    HostNode* loose = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Loose");
    for (int32_t i = 0; i < 24000; ++i) {
        const float x = float(i);
        loose->points.insert(loose->points.end(), {{x, 0, 0}, {x + 1, 0, 0}, {x, 1, 0}});
        loose->polygons.push_back({3 * i, 3 * i + 1, 3 * i + 2, 3 * i + 2});
    }
    ASSERT_EQ(save(*doc, file("big.3DS")), FILE_RESULT_OK);

    const layout::File written = layout::read(file("big.3DS"));
    std::size_t planeFaces = 0, looseFaces = 0, loosePoints = 0, planeParts = 0, looseParts = 0;
    std::set<std::string> names;
    for (const layout::Object& o : written.objects) {
        EXPECT_TRUE(names.insert(o.name).second) << o.name;
        EXPECT_LE(o.name.size(), 10u);
        if (o.name.rfind("Shape", 0) == 0) {
            planeFaces += o.faces;
            ++planeParts;
        } else {
            looseFaces += o.faces;
            loosePoints += o.points;
            ++looseParts;
        }
    }
    EXPECT_EQ(planeFaces, 180000u);
    EXPECT_EQ(planeParts, 3u);
    EXPECT_EQ(looseFaces, 24000u);
    EXPECT_EQ(loosePoints, 72000u);
    EXPECT_EQ(looseParts, 2u);

    ReadBack back(file("big.3DS"));
    ASSERT_TRUE(back.read);
    EXPECT_EQ(back.faces(), 204000u);

    // The file is streamed with the chunk sizes counted beforehand: byte for byte what encoding
    // the whole scene in memory gives.
    std::ifstream in(file("big.3DS"), std::ios::binary);
    const std::vector<uint8_t> saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(saved == host::encodeThreeDs(host::collectThreeDsScene(*doc)));
}

TEST_F(ThreeDsSave, NamesAreCutToTheFormatsLimitsWithoutCollisions)
{
    auto doc = host::createDocument();
    HostNode* m1 = host::makeMaterial(*doc, "MaterialNumberOne1");
    HostNode* m2 = host::makeMaterial(*doc, "MaterialNumberOne2");
    HostNode* m3 = host::makeMaterial(*doc, "materialnumberon"); // equal to the cut of both, but for case
    const std::vector<std::pair<std::string, HostNode*>> objects = {
        {"LongObjectName1", m1}, {"LongObjectName2", m2}, {"Cube", m3}, {"cube", m3}, {"", m3}, {"Ünïcödé Object", m3}};
    for (const auto& [name, material] : objects) {
        HostNode* o = host::makeObject(*doc, TYPE_POLYGON_OBJECT, name);
        o->points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        o->polygons = {{0, 1, 2, 2}};
        host::makeTextureTag(*o, *material);
    }
    ASSERT_EQ(save(*doc, file("n.3DS")), FILE_RESULT_OK);

    const layout::File written = layout::read(file("n.3DS"));
    auto folded = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        return s;
    };
    std::set<std::string> materialNames;
    ASSERT_EQ(written.materials.size(), 3u);
    for (const layout::Material& m : written.materials) {
        EXPECT_LE(m.name.size(), 16u) << m.name;
        EXPECT_TRUE(materialNames.insert(folded(m.name)).second) << m.name;
    }
    EXPECT_EQ(written.materials[0].name, "MaterialNumberOn");
    ASSERT_EQ(written.objects.size(), objects.size());
    std::set<std::string> objectNames;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const layout::Object& o = written.objects[i];
        EXPECT_LE(o.name.size(), 10u) << o.name;
        EXPECT_FALSE(o.name.empty());
        EXPECT_EQ(host::cutUtf8(o.name, o.name.size()).size(), o.name.size()) << "cut inside a character";
        EXPECT_TRUE(objectNames.insert(folded(o.name)).second) << o.name;
        // Each object's faces name the material that was written for its own material.
        const std::size_t materialIndex = objects[i].second == m1 ? 0 : objects[i].second == m2 ? 1 : 2;
        EXPECT_EQ(o.material, written.materials[materialIndex].name) << o.name;
    }
    EXPECT_EQ(written.objects[0].name, "LongObject");
    EXPECT_EQ(written.objects[2].name, "Cube");
}

TEST_F(ThreeDsSave, EmptyDocumentGivesAFileWithoutObjects)
{
    auto doc = host::createDocument();
    host::makeObject(*doc, TYPE_NULL, "Nothing");
    host::makeObject(*doc, TYPE_POLYGON_OBJECT, "No polygons")->points = {{1, 1, 1}};
    ASSERT_EQ(save(*doc, file("e.3DS")), FILE_RESULT_OK);
    const layout::File written = layout::read(file("e.3DS"));
    EXPECT_TRUE(written.objects.empty());
}

TEST_F(ThreeDsSave, FileNameAtTheSystemsLimitIsSavedWholeAndReplacesTheOldFile)
{
    auto doc = host::createDocument();
    addConverted(*doc, TYPE_CUBE, host::identityMatrix());
    const std::string name = std::string(251, 'n') + ".3DS"; // 255 bytes, the longest name
    {
        std::ofstream previous(file(name));
        previous << "previous";
    }
    ASSERT_EQ(save(*doc, file(name)), FILE_RESULT_OK);
    EXPECT_EQ(folderContents(), std::set<std::string>{name});
    const layout::File written = layout::read(file(name));
    ASSERT_EQ(written.objects.size(), 1u);
    EXPECT_EQ(written.objects[0].faces, 12);
}

TEST_F(ThreeDsSave, FailedWritesAnswerMinusOneNameTheFileAndLeaveNothing)
{
    host::SessionOptions options;
    options.prefsFile = file("prefs.json");
    host::Session session(options);
    auto doc = host::createDocument();
    addConverted(*doc, TYPE_CUBE, host::identityMatrix());
    const std::set<std::string> before = folderContents();

    const fs::path failing[] = {"/dev/full", file("missing") / "a.3DS", "/proc/lumeno.3DS", folder_};
    for (const fs::path& path : failing) {
        SCOPED_TRACE(path.string());
        session.clearDiagnostics();
        EXPECT_EQ(save(*doc, path), FILE_RESULT_OPEN_FAILED);
        ASSERT_EQ(session.diagnostics().size(), 1u);
        EXPECT_NE(session.diagnostics()[0].find("cannot write " + path.string() + ": "), std::string::npos)
            << session.diagnostics()[0];
    }
    EXPECT_FALSE(fs::exists("/proc/lumeno.3DS"));
    EXPECT_EQ(folderContents(), before);

    // A polygon that names a point its object lacks, and a format this host does not save.
    HostNode* broken = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Broken");
    broken->points = {{0, 0, 0}};
    broken->polygons = {{0, 0, 7, 7}};
    session.clearDiagnostics();
    EXPECT_EQ(save(*doc, file("broken.3DS")), FILE_RESULT_OPEN_FAILED);
    ASSERT_EQ(session.diagnostics().size(), 1u);
    EXPECT_NE(session.diagnostics()[0].find("\"Broken\": polygon 0 refers to point 7"), std::string::npos);
    host::freeNode(broken);
    EXPECT_EQ(save(*doc, file("other.obj"), 1001), FILE_RESULT_OPEN_FAILED);
    EXPECT_EQ(folderContents(), before);
}

TEST_F(ThreeDsSave, WriteCutShortKeepsThePreviousFileAndLeavesNoPart)
{
    auto doc = host::createDocument();
    addConverted(*doc, TYPE_SPHERE, host::identityMatrix());
    const fs::path target = file("s.3DS");
    {
        std::ofstream previous(target);
        previous << "previous";
    }
    // The system refuses to let any file grow past 200 bytes while the save runs.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 200;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t result = save(*doc, target);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, FILE_RESULT_OPEN_FAILED);
    EXPECT_EQ(folderContents(), std::set<std::string>{"s.3DS"});
    std::ifstream in(target);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "previous");
}

} // namespace
