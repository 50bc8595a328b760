#include "host/report/scene_events.h"

#include <cstring>
#include <sstream>

namespace host {
namespace {

/// The elements whose first child is the comment that names the object they were written for.
constexpr const char* namedElements[] = {"model", "meshlight", "sphere", "plane", "rectanglelight"};

bool isXmlSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

/// Text as the renderer's parser keeps it: no space at either end, every run of spaces one.
std::string condensed(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isXmlSpace(text[i])) {
            out += text[i];
        } else if (!out.empty() && i + 1 < text.size() && !isXmlSpace(text[i + 1])) {
            out += ' ';
        }
    }
    return out;
}

} // namespace

bool isNamedElement(const char* name) {
    for (const char* named : namedElements)
        if (std::strcmp(name, named) == 0) return true;
    return false;
}

bool isTextureElement(const std::string& name) {
    return name.size() > 8 && name.compare(name.size() - 8, 8, "_texture") == 0;
}

bool isZeroVector(const std::string& text) {
    std::istringstream in(text);
    double x = 1, y = 1, z = 1;
    return static_cast<bool>(in >> x >> y >> z) && x == 0 && y == 0 && z == 0;
}

void SceneEvents::childSeen() {
    if (depth_ == 2 && !topHasChild_) topHasChild_ = true;
}

void SceneEvents::opened(const char* name) {
    flushCapture();
    ++depth_;
    if (depth_ == 1) {
        sawScene_ = std::strcmp(name, "scene") == 0;
        return;
    }
    if (depth_ == 2) {
        // A scene lists its elements of a kind one after the other: the last kind's count and
        // sort (`top_`) are kept rather than looked up again for each.
        if (!lastTopCount_ || lastTopName_ != name) {
            lastTopName_ = name;
            lastTopCount_ = &contents.elements[lastTopName_];
            top_ = isNamedElement(name)                ? Kind::Named
                   : std::strcmp(name, "material") == 0 ? Kind::Material
                   : std::strcmp(name, "skylight") == 0 ? Kind::Sky
                                                        : Kind::Other;
        }
        ++*lastTopCount_;
        topHasChild_ = false;
        if (top_ == Kind::Material) {
            firstTexture_ = contents.textures.size();
            haveMaterialName_ = false;
            materialName_.clear();
        }
        if (top_ == Kind::Sky) haveSundir_ = false;
        return;
    }
    childSeen();
    if (top_ == Kind::Material) {
        if (depth_ == 3 && !haveMaterialName_ && std::strcmp(name, "name") == 0) {
            haveMaterialName_ = true;
            capture(&materialName_);
        } else if (textureDepth_ == 0 && isTextureElement(name)) {
            textureDepth_ = depth_;
            haveTexturePath_ = false;
            contents.textures.push_back({});
        } else if (textureDepth_ != 0 && depth_ == textureDepth_ + 1 && !haveTexturePath_ &&
                   std::strcmp(name, "path") == 0) {
            haveTexturePath_ = true;
            capture(&contents.textures.back().path);
        }
    } else if (top_ == Kind::Sky && depth_ == 3 && !haveSundir_ && std::strcmp(name, "sundir") == 0) {
        haveSundir_ = true;
        capture(&sundir_);
    }
}

void SceneEvents::closed() {
    flushCapture();
    if (depth_ == textureDepth_) textureDepth_ = 0;
    if (depth_ == 2 && top_ == Kind::Material) {
        for (std::size_t i = firstTexture_; i < contents.textures.size(); ++i)
            contents.textures[i].material = materialName_;
    }
    if (depth_ == 2 && top_ == Kind::Sky && haveSundir_)
        contents.sunWithoutDirection = contents.sunWithoutDirection || isZeroVector(sundir_);
    --depth_;
}

void SceneEvents::characters(const char* data, std::size_t length) {
    if (capturing_) {
        captured_.append(data, length);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (!isXmlSpace(data[i])) {
            childSeen();
            return;
        }
    }
}

void SceneEvents::commented(const char* data, std::size_t length) {
    flushCapture();
    if (depth_ == 2 && top_ == Kind::Named && !topHasChild_) contents.namedObjects.emplace_back(data, length);
    childSeen();
}

/// The text of the element just opened, if it is its first child.
void SceneEvents::capture(std::string* into) {
    capturing_ = true;
    captured_.clear();
    captureInto_ = into;
}

void SceneEvents::flushCapture() {
    if (!capturing_) return;
    capturing_ = false;
    *captureInto_ = condensed(captured_);
}

} // namespace host
