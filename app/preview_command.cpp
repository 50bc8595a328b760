#include "app/preview_command.h"

#include <charconv>
#include <memory>

#include "app/common_options.h"
#include "host/files/export_staging.h"
#include "host/preview/gl_drawing.h"
#include "host/preview/scene_preview.h"

namespace app {

namespace {

struct PreviewOptions {
    std::string scene;
    std::string picture;
    std::string size;
};

std::optional<int32_t> side(const char* from, const char* to) {
    int32_t value = 0;
    auto [end, error] = std::from_chars(from, to, value);
    if (error != std::errc() || end != to || value < 1 || value > host::maxPictureSide) return std::nullopt;
    return value;
}

} // namespace

std::optional<host::PictureSize> parsePictureSize(const std::string& text) {
    std::size_t cross = text.find('x');
    if (cross == std::string::npos) return std::nullopt;
    std::optional<int32_t> width = side(text.data(), text.data() + cross);
    std::optional<int32_t> height = side(text.data() + cross + 1, text.data() + text.size());
    if (!width || !height) return std::nullopt;
    return host::PictureSize{*width, *height};
}

void addPreviewCommand(CLI::App& cli) {
    auto options = std::make_shared<PreviewOptions>();
    CLI::App* command = cli.add_subcommand(
        "preview", "Draw a Lumeno scene file from its camera into a PNG picture (a quick look, not a render)");
    command->add_option("SCENE", options->scene, "Scene file (XML) to draw, with its mesh files beside it")->required();
    command->add_option("-o,--output", options->picture, "Picture to write")->required()->type_name("PICTURE.png");
    command
        ->add_option("--size", options->size,
                     "Picture size in pixels; default: the scene's renderer settings, else 600 wide")
        ->type_name("WxH")
        ->check(CLI::Validator(
            [](std::string& text) {
                return parsePictureSize(text) ? std::string()
                                              : "not a size WxH of 1 to " + std::to_string(host::maxPictureSide) +
                                                    " pixels a side: " + text;
            },
            ""));
    addReadingOptions(*command);
    command->callback([options] {
        std::optional<host::PictureSize> size;
        if (!options->size.empty()) size = parsePictureSize(options->size);
        host::finishInterruptedExport(std::filesystem::absolute(options->scene));
        host::writeScenePreview(options->scene, options->picture, size);
    });
}

} // namespace app
