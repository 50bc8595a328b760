#include "app/command_draw.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/common_options.h"
#include "app/tag_lookup.h"
#include "host/documents/document_loader.h"
#include "host/pictures/png_file.h"
#include "host/pictures/surface.h"
#include "host/plugins/tag_draw.h"

namespace app {

namespace {

// A picture for a person to look at; larger sizes would only cost memory.
constexpr int32_t maxSide = 4096;

struct DrawOptions {
    CommonOptions common;
    std::string document;
    std::string object;
    std::string tag;
    std::string size = "128x128";
    std::string output;
};

struct Size {
    int32_t width = 0;
    int32_t height = 0;
};

std::optional<int32_t> side(const std::string& text) {
    int32_t number = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || ptr != end || number < 1 || number > maxSide) return std::nullopt;
    return number;
}

/// "WxH" (also "WXH"), each side 1 to maxSide.
Size readSize(const std::string& text) {
    const size_t by = text.find_first_of("xX");
    std::optional<int32_t> width = by == std::string::npos ? std::nullopt : side(text.substr(0, by));
    std::optional<int32_t> height = by == std::string::npos ? std::nullopt : side(text.substr(by + 1));
    if (!width || !height)
        throw CommandFailure("--size " + text + ": expected WIDTHxHEIGHT in pixels, each 1 to " +
                             std::to_string(maxSide) + ", such as 128x128");
    return {*width, *height};
}

void runDraw(const DrawOptions& options) {
    const Size size = readSize(options.size);
    host::Session session(sessionOptions(options.common));
    startModule(session, options.common);
    // Declared after the session, so that its plug-in tags go before the module does.
    host::NodePtr document = host::loadDocumentFile(options.document, session.registry());
    HostNode& object = findObject(*document, options.object, options.document);
    HostNode& tag = findTag(object, options.tag, session.registry());

    HostSurface surface = host::makeSurface(size.width, size.height);
    const host::DrawResult drawn = host::drawTag(tag, surface);
    // A tag that answers true without painting (the base Draw) has nothing to show either.
    if (!drawn.answered || !drawn.painted)
        throw CommandFailure("the tag " + tagTitle(tag) + " on the object \"" + object.name +
                             "\" drew nothing (it has no picture to show, such as a linked material's "
                             "preview); " + options.output + " was not written" + diagnosticLines(session));
    try {
        host::writePng(options.output, surface.picture);
    } catch (const host::HostError& error) {
        throw CommandFailure(options.output + ": cannot write the picture: " + error.what());
    }
    std::printf("Wrote %s (%dx%d): what the tag %s on the object \"%s\" drew\n", options.output.c_str(),
                size.width, size.height, tagTitle(tag).c_str(), object.name.c_str());
    printWarnings(session);
}

} // namespace

void addDrawCommand(CLI::App& cli) {
    auto options = std::make_shared<DrawOptions>();
    CLI::App* command = cli.add_subcommand(
        "draw", "Have a tag draw itself as the application shows it (a material helper tag: its material's "
                "preview) and save the picture as PNG");
    command->add_option("DOCUMENT", options->document, "Document file (JSON) that holds the tag")->required();
    command->add_option("--object", options->object, "The object that carries the tag, by path (\"Studio/Ball\")")
        ->required()
        ->type_name("PATH");
    command->add_option("--tag", options->tag,
                        "The tag: its name, its plug-in's name, its description name or its type ID; the first "
                        "that matches")
        ->required()
        ->type_name("NAME|ID");
    command->add_option("--size", options->size, "The drawing surface's size in pixels")
        ->type_name("WxH")
        ->capture_default_str();
    command->add_option("-o,--output", options->output, "The PNG file to write (whole or not at all)")
        ->required()
        ->type_name("PICTURE.png");
    addCommonOptions(*command, options->common);
    command->callback([options] { runDraw(*options); });
}

} // namespace app
