// Reading the parts of a document file's JSON tree into the records of document_file.h: objects
// with their geometry and tags, materials, the view and the document's settings. Checks the
// shape of every part, object type names, point indices, and that a placement is given one way
// only. The geometry lists stand in the tree as places in a list of records read beside it
// (json_tree.h).
#pragma once

#include <string>
#include <vector>

#include "host/documents/document_file.h"
#include "host/documents/packed_lists.h"
#include "host/documents/value_reader.h"

namespace host {

class ObjectReader : public ValueReader {
public:
    using ValueReader::ValueReader;

    /// The geometry lists the tree's objects stand for: list number s is lists[s - base].
    void useLists(std::vector<PackedList>& lists, std::size_t base) {
        lists_ = &lists;
        listBase_ = base;
    }
    /// The place of "objects", shared by the places of every object.
    const JsonPlace& objectsPlace() const { return objectsPlace_; }

    docfile::Object object(JsonTree& node, const JsonPlace& path) const;
    /// Reads the object's own keys, then each child into its place. The tree gives back each
    /// object's part once it is read, before its children are, so that a deep hierarchy is never
    /// held as tree and records at once; and one level of it costs little stack.
    void readObject(docfile::Object& object, JsonTree& node, const JsonPlace& path) const;
    /// Everything of an object but its children, whose list it hands back (null: none); the
    /// object's tree is null after it.
    [[gnu::noinline]] JsonTree readOwnKeys(docfile::Object& object, JsonTree& owned, const JsonPlace& path) const;
    docfile::Material material(const JsonTree& node, const JsonPlace& path) const;
    docfile::View view(const JsonTree& node, const JsonPlace& path) const;
    docfile::Settings settings(const JsonTree& node, const JsonPlace& path) const;

private:
    const JsonPlace objectsPlace_{"objects"};
    std::vector<PackedList>* lists_ = nullptr; // the geometry lists that the tree holds by their place
    std::size_t listBase_ = 0;

    docfile::Tag tag(const JsonTree& node, const JsonPlace& path) const;
    docfile::Channel channel(const JsonTree& node, const JsonPlace& path) const;

    // Geometry: points, polygons and uvs, read as records where the list had the usual shape.
    void readGeometry(const JsonTree& node, const JsonPlace& path, docfile::Object& object) const;
    /// The list read as records that `node` stands for; none when the node is a JSON value.
    PackedList* packed(const JsonTree& node) const;
    /// A packed list holds only points in range.
    void readPoints(PackedList& list, docfile::Object& object) const { object.points = std::move(list.points); }
    /// A point [x, y, z] of 32-bit reals.
    HostVector point(const JsonTree& node, const JsonPlace& listPath, std::size_t i) const;
    void readPolygons(PackedList& list, const JsonPlace& path, docfile::Object& object) const;
    HostPolygon polygon(const JsonTree& node, const JsonPlace& path, std::size_t pointCount) const;
    void readPackedUvs(PackedList& list, const JsonPlace& path, docfile::Object& object) const;
    /// One entry per polygon, with one [u, v] or [u, v, w] per corner of it.
    void readUvs(const JsonTree& node, const JsonPlace& path, docfile::Object& object) const;
    void checkNumber(double value, const JsonPlace& listPath, std::size_t i, std::size_t k,
                     std::optional<std::size_t> inner = std::nullopt) const;
    [[noreturn]] void pointOutOfRange(const JsonPlace& path, int32_t corner, std::size_t pointCount) const;
    [[noreturn]] void wrongUvCount(const JsonPlace& path, std::size_t polygons, std::size_t entries) const;
    [[noreturn]] void wrongCornerCount(const JsonPlace& path, std::size_t i, bool triangle, const std::string& found) const;
};

} // namespace host
