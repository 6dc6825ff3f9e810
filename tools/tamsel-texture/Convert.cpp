#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "CommandLine.h"
#include "Commands.h"
#include "Help.h"
#include "Inputs.h"
#include "Picture.h"
#include "StopSignals.h"

namespace tamsel::tool {
namespace {

namespace fs = std::filesystem;

// The most files converted at a time.
constexpr std::int32_t kMostJobs = 256;

struct Settings {
    PictureFormat format = PictureFormat::Png;
    std::string outputFolder;  // empty: next to each texture; "-": the standard output
    std::string paletteFrom;
    std::int32_t jobs =
        std::clamp(static_cast<std::int32_t>(std::thread::hardware_concurrency()), 1, kMostJobs);
    bool force = false;
    bool recursive = false;
};

// What became of one file: the line to print, or the reason it failed.
struct Outcome {
    std::string said;
    std::string error;
};

// One texture to convert, and where its picture goes; or why it is refused before it is read.
struct Task {
    Input input;
    std::string target;
    std::string refusal;
};

bool TakeFormat(const char* name, PictureFormat& format) {
    for (const PictureFormat candidate : {PictureFormat::Png, PictureFormat::Ppm, PictureFormat::Bmp}) {
        if (name == std::string_view(ExtensionOf(candidate) + 1)) {
            format = candidate;
            return true;
        }
    }
    BadUsage("convert", std::string("--to takes png, ppm or bmp, not '") + name + "'");
    return false;
}

// Paints the texture of `task` with a copy of `primed` and writes its picture where `write` puts it.
Outcome ConvertOne(const texture::TextureReader& primed, const Task& task, const Settings& settings,
                   const std::function<bool(const std::function<bool(QIODevice&)>&, std::string&)>& write) {
    texture::TextureReader reader = primed;
    TextureFile file(task.input.path, reader);
    std::string error = file.Error();
    const texture::TextureLayout& layout = file.Layout();
    const auto pixels = static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.height);
    if (error.empty() && pixels == 0 && settings.format != PictureFormat::Ppm) {
        error = "the canvas has no pixels (" + std::to_string(layout.width) + " x " +
                std::to_string(layout.height) + "); only a PPM can hold it";
    }
    if (!error.empty()) {
        return {{}, error};
    }
    const auto picture = PaintReduced(reader, file, layout.width, layout.height,
                                      EncodingBytes(settings.format, pixels), error);
    if (!picture) {
        return {{}, error};
    }
    const auto encode = [&](QIODevice& device) {
        return WritePicture(device, settings.format, *picture, layout.width, layout.height);
    };
    if (!write(encode, error)) {
        return {{}, task.target + ": " + error};
    }
    return {task.input.path + " -> " + task.target + "\n", {}};
}

// Runs `convert` for every task on up to `jobs` threads, and prints what became of each in the order
// of the tasks as soon as it and those before it are done. Returns the exit status.
int RunInOrder(const std::vector<Task>& tasks, std::int32_t jobs,
               const std::function<Outcome(const Task&)>& convert) {
    std::vector<std::optional<Outcome>> outcomes(tasks.size());
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < tasks.size(); i = next++) {
            Outcome outcome = tasks[i].refusal.empty() ? convert(tasks[i]) : Outcome{{}, tasks[i].refusal};
            const std::lock_guard lock(mutex);
            outcomes[i] = std::move(outcome);
            done.notify_all();
        }
    };
    std::vector<std::jthread> threads;
    for (std::size_t k = 0; k < std::min(tasks.size(), static_cast<std::size_t>(jobs)); ++k) {
        threads.emplace_back(work);
    }
    int status = kAllWell;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return outcomes[i].has_value(); });
        const Outcome outcome = std::move(*outcomes[i]);
        lock.unlock();
        std::cout << outcome.said << std::flush;
        if (!outcome.error.empty()) {
            Complain(tasks[i].input.path + ": " + outcome.error);
            status = kSomeFailed;
        }
    }
    return std::cout ? status : kSomeFailed;
}

}  // namespace

int Convert(int argc, char** argv) {
    TakeStopSignals();
    Settings settings;
    const std::string help = std::string(kConvertHelp) + std::string(kExitStatusHelp);
    constexpr int kTo = 0x200;
    constexpr int kPaletteFrom = 0x201;
    const CommandLine line = ReadCommandLine("convert", argc, argv, "o:j:fr",
                                             {{"to", required_argument, nullptr, kTo},
                                              {"output", required_argument, nullptr, 'o'},
                                              {"palette-from", required_argument, nullptr, kPaletteFrom},
                                              {"jobs", required_argument, nullptr, 'j'},
                                              {"force", no_argument, nullptr, 'f'},
                                              {"recursive", no_argument, nullptr, 'r'}},
                                             help, [&](int key, const char* value) {
                                                 switch (key) {
                                                     case kTo:
                                                         return TakeFormat(value, settings.format);
                                                     case 'o':
                                                         settings.outputFolder = value;
                                                         return true;
                                                     case kPaletteFrom:
                                                         settings.paletteFrom = value;
                                                         return true;
                                                     case 'j': {
                                                         const auto jobs =
                                                             CountOption("convert", "-j", value, kMostJobs);
                                                         settings.jobs = jobs.value_or(0);
                                                         return jobs.has_value();
                                                     }
                                                     case 'f':
                                                         settings.force = true;
                                                         return true;
                                                     default:
                                                         settings.recursive = true;
                                                         return true;
                                                 }
                                             });
    if (line.exitStatus) {
        return *line.exitStatus;
    }
    if (line.operands.empty()) {
        return BadUsage("convert", "no FILE or FOLDER given");
    }
    const bool toStandardOutput = settings.outputFolder == "-";
    std::error_code ignored;
    if (toStandardOutput && (line.operands.size() != 1 || fs::is_directory(line.operands[0], ignored))) {
        return BadUsage("convert", "-o - writes one picture: give exactly one FILE");
    }
    if (!toStandardOutput && !settings.outputFolder.empty() &&
        (fs::exists(settings.outputFolder, ignored) && !fs::is_directory(settings.outputFolder, ignored))) {
        return BadUsage("convert", "-o " + settings.outputFolder + ": not a folder");
    }

    texture::TextureReader primed;
    if (!settings.paletteFrom.empty()) {
        const TextureFile source(settings.paletteFrom, primed);
        if (!source.Error().empty() || source.Layout().paletteSource == texture::PaletteSource::None) {
            return BadUsage("convert",
                            "--palette-from " + settings.paletteFrom + ": " +
                                (source.Error().empty() ? "has no palette of its own" : source.Error()));
        }
    }

    // Where each picture goes; a picture that exists already, or that an earlier texture of this run
    // writes, is refused before anything is painted.
    std::set<std::string> targets;
    const auto refusalOf = [&](const Input& input, const fs::path& target) -> std::string {
        if (!input.error.empty() || toStandardOutput) {
            return input.error;
        }
        if (target == input.path) {
            return "its picture would replace it";
        }
        if (!targets.insert(target.native()).second) {
            return target.native() + ": an earlier texture writes it";
        }
        if (!settings.force && fs::symlink_status(target, ignored).type() != fs::file_type::not_found) {
            return target.native() + ": " + kExists;
        }
        return {};
    };
    std::vector<Task> tasks;
    for (Input& input : ExpandInputs(line.operands, settings.recursive)) {
        fs::path target = toStandardOutput                ? fs::path("the standard output")
                          : settings.outputFolder.empty() ? fs::path(input.path)
                                                          : fs::path(settings.outputFolder) / input.relative;
        if (!toStandardOutput) {
            target.replace_extension(ExtensionOf(settings.format));
        }
        std::string refusal = refusalOf(input, target);
        tasks.push_back({std::move(input), target.native(), std::move(refusal)});
    }

    if (toStandardOutput) {
        Outcome outcome = ConvertOne(primed, tasks[0], settings, [](const auto& encode, std::string& error) {
            error = "cannot write";
            return WriteToStandardOutput(encode);
        });
        if (outcome.error.empty()) {
            return kAllWell;
        }
        Complain(tasks[0].input.path + ": " + outcome.error);
        return kSomeFailed;
    }
    return RunInOrder(tasks, settings.jobs, [&](const Task& task) {
        return ConvertOne(primed, task, settings, [&](const auto& encode, std::string& error) {
            std::error_code unmade;
            fs::create_directories(fs::path(task.target).parent_path(), unmade);
            return WriteAtomically(task.target, settings.force, encode, error);
        });
    });
}

}  // namespace tamsel::tool
