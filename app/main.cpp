// lumeno-host: our headless stand-in for the 3D application. It loads the LumenoExporter module
// through c4d_main and drives it as the application would.
#include <cstdio>
#include <exception>

#include <CLI/CLI.hpp>

#include "app/command_command.h"
#include "app/command_describe.h"
#include "app/command_draw.h"
#include "app/commands.h"
#include "app/common_options.h"
#include "app/heap_pages.h"
#include "app/preview_command.h"
#include "host/documents/document_error.h"
#include "host/files/export_staging.h"
#include "host/plugins/host_error.h"
#include "host/resources/resource_error.h"

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

int fail(const std::string& message) {
    // A file that failed in an export's staging folder is named as the user knows it.
    std::fprintf(stderr, "lumeno-host: %s\n", host::committedPathsIn(message).c_str());
    return exitFailure;
}

} // namespace

int main(int argc, char** argv) {
    app::setUpHeap(argv);
    CLI::App cli("Headless host for the LumenoExporter module: loads it through c4d_main and drives it "
                 "as the application would.",
                 "lumeno-host");
    cli.require_subcommand(1);
    app::addPluginsCommand(cli);
    app::addExportCommand(cli);
    app::addPrefsCommand(cli);
    app::addDescribeCommand(cli);
    app::addCommandCommand(cli);
    app::addDrawCommand(cli);
    app::addImportCommand(cli);
    app::addPreviewCommand(cli);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return cli.exit(help);
    } catch (const CLI::ParseError& error) {
        cli.exit(error);
        return exitUsage;
    } catch (const app::CommandFailure& failure) {
        return fail(failure.what());
    } catch (const host::DocumentError& error) {
        return fail(error.what());
    } catch (const host::ResourceError& error) {
        return fail(error.what());
    } catch (const host::HostError& error) {
        return fail(error.what());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
    return 0;
}
