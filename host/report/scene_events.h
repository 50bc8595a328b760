// What the report needs of a scene file, gathered from its parts in file order, whichever reader
// takes the file apart.
#pragma once

#include <cstddef>
#include <string>

#include "host/report/scene_contents.h"

namespace host {

/// Takes the elements, text and comments of a scene file as they come. Names and text are the
/// file's own bytes.
class SceneEvents {
public:
    SceneContents contents;

    void opened(const char* name);
    void closed();
    void characters(const char* data, std::size_t length);
    void commented(const char* data, std::size_t length);

    /// Whether text matters here: while it is captured, or while a `scene` child has no first
    /// child yet (text there comes before a name comment). Most of a scene file is text no count
    /// needs.
    bool wantsText() const { return capturing_ || (depth_ == 2 && !topHasChild_); }
    bool hadScene() const { return sawScene_; }

private:
    /// Where the element being read stands.
    enum class Kind { Other, Named, Material, Sky };
    int depth_ = 0;
    bool sawScene_ = false;
    Kind top_ = Kind::Other;       // the `scene` child being read
    std::string lastTopName_;      // its name
    int* lastTopCount_ = nullptr;  // its count in `contents.elements`
    bool topHasChild_ = false;     // it has a first child already
    int textureDepth_ = 0;         // depth of the open `*_texture` element, 0 when none
    std::size_t firstTexture_ = 0; // the open material's first texture
    bool capturing_ = false;       // collecting the text of an element
    std::string captured_;
    std::string* captureInto_ = nullptr;
    std::string materialName_;
    bool haveMaterialName_ = false, haveSundir_ = false, haveTexturePath_ = false;
    std::string sundir_;

    void childSeen();
    void capture(std::string* into);
    void flushCapture();
};

/// Whether a `*_texture` element names a texture file.
bool isTextureElement(const std::string& name);
/// Whether the element's first child is the comment naming the object it was written for.
bool isNamedElement(const char* name);
/// Whether `text` reads as the vector 0 0 0.
bool isZeroVector(const std::string& text);

} // namespace host
