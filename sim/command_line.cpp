#include "command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>

namespace kaldor::sim {
namespace {

constexpr const char* kUsage = R"(Usage: ecu-sim [OPTION]...
A virtual dual-fuel controller on a pseudo-terminal. Prints the device the program should open
(for example /dev/pts/7) on the first line of standard output and serves until SIGINT or SIGTERM.

Link:
  --link PATH               also make PATH a symbolic link to the device (removed at exit)
  --log FILE                write every received frame to FILE, one per line:
                            milliseconds since start, then the six bytes in hex
  --dump FILE               write the 768-byte parameter memory to FILE at exit

Identity:
  --hw N                    hardware revision in the identify reply (default 2)
  --sw N                    software revision in the identify reply (default 11)
  --confirm-status N        status byte of the confirm reply, 0 = accepted (default 0)
  --serial N                32-bit serial number, words 242-243 (default 123456)
  --pin DDDD                four-digit PIN stored packed in word 374 ("1234" is 0x1234);
                            0000 means no PIN (default: none)
  --image FILE              start from this 768-byte parameter image instead of the factory
                            one; --serial and --pin still override it

Engine:
  --mode MODE               fuel mode at power-up: diesel, auto or propane (default auto)
  --errors LIST             error codes stored at power-up, comma-separated (e.g. 7,15)
  --error-every SECONDS     store a new error code and count live word 50 up this often
  --time-scale X            simulated seconds per real second (default 1)

Faults (N counts from 1; every Nth reply is affected unless said otherwise):
  --drop-every N            do not send every Nth reply
  --corrupt-every N         wrong checksum in every Nth reply (wrong trailer in the identify and
                            confirm replies, which carry no checksum)
  --stray-every N           send a stray byte 0x55 in front of every Nth reply
  --wrong-subcode-every N   every Nth page or error-memory reply carries the other sub-code
  --ignore-write-every N    silently ignore every Nth write frame (byte or word write; only
                            writes are counted): it is logged but its value is not stored
  --delay-ms N              wait N ms before every reply
  --silent-after N          answer the first N frames, then nothing (frames are still logged)
  --hang-up-after N         after the Nth frame close the pseudo-terminal and exit
  --hang-up-after-writes N  after the Nth write frame (byte or word write; only writes are
                            counted) close the pseudo-terminal and exit, as a cable pulled in
                            the middle of a write: the program's next write fails

  --help                    show this text and exit

Exit status: 0 after SIGINT, SIGTERM or a hang-up; 1 if the pseudo-terminal, log or link
cannot be set up; 2 for a bad option or a start image that is not 768 bytes.
)";

bool parseUnsigned(const std::string& text, unsigned long long max, unsigned long long& out) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || value > max) {
        return false;
    }
    out = value;
    return true;
}

bool parsePositiveDouble(const std::string& text, bool allowZero, double& out) {
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || errno != 0 || end == nullptr || *end != '\0' || !(value >= 0.0) ||
        (!allowZero && value == 0.0) || value > 1e9) {
        return false;
    }
    out = value;
    return true;
}

bool parseCodes(const std::string& text, std::vector<std::uint16_t>& codes) {
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = text.find(',', from);
        const std::string item =
            text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        unsigned long long code = 0;
        if (!parseUnsigned(item, 0xFFFF, code) || codes.size() >= kErrorSlots) {
            return false;
        }
        codes.push_back(static_cast<std::uint16_t>(code));
        if (comma == std::string::npos) {
            break;
        }
        from = comma + 1;
    }
    return true;
}

}  // namespace

std::string usageText() {
    return kUsage;
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    VirtualController::Options& o = cl.options;
    using Setter = std::function<bool(const std::string&)>;
    auto byteInto = [](std::uint8_t& target) {
        return Setter([&target](const std::string& v) {
            unsigned long long n = 0;
            if (!parseUnsigned(v, 255, n)) {
                return false;
            }
            target = static_cast<std::uint8_t>(n);
            return true;
        });
    };
    auto countInto = [](unsigned& target) {
        return Setter([&target](const std::string& v) {
            unsigned long long n = 0;
            if (!parseUnsigned(v, std::numeric_limits<unsigned>::max(), n)) {
                return false;
            }
            target = static_cast<unsigned>(n);
            return true;
        });
    };
    auto optionalCountInto = [](std::optional<std::size_t>& target) {
        return Setter([&target](const std::string& v) {
            unsigned long long n = 0;
            if (!parseUnsigned(v, std::numeric_limits<std::uint32_t>::max(), n)) {
                return false;
            }
            target = static_cast<std::size_t>(n);
            return true;
        });
    };
    auto textInto = [](std::string& target) {
        return Setter([&target](const std::string& v) {
            target = v;
            return !v.empty();
        });
    };
    struct Option {
        const char* name;
        const char* expects;
        Setter set;
    };
    const Option table[] = {
        {"--link", "a path", textInto(o.linkPath)},
        {"--log", "a file name", textInto(o.logPath)},
        {"--dump", "a file name", textInto(cl.dumpPath)},
        {"--image", "a file name", textInto(cl.imagePath)},
        {"--hw", "a number 0-255", byteInto(o.hardwareRevision)},
        {"--sw", "a number 0-255", byteInto(o.softwareRevision)},
        {"--confirm-status", "a number 0-255", byteInto(o.confirmStatus)},
        {"--serial", "a number 0-4294967295",
         [&o](const std::string& v) {
             unsigned long long n = 0;
             if (!parseUnsigned(v, 0xFFFFFFFFull, n)) {
                 return false;
             }
             o.serialNumber = static_cast<std::uint32_t>(n);
             return true;
         }},
        {"--pin", "four digits",
         [&o](const std::string& v) {
             o.pin = packPin(v);
             return o.pin.has_value();
         }},
        {"--mode", "diesel, auto or propane",
         [&o](const std::string& v) {
             if (v == "diesel") {
                 o.mode = FuelMode::Diesel;
             } else if (v == "auto") {
                 o.mode = FuelMode::Auto;
             } else if (v == "propane") {
                 o.mode = FuelMode::Propane;
             } else {
                 return false;
             }
             return true;
         }},
        {"--errors", "up to 32 comma-separated codes 0-65535",
         [&o](const std::string& v) {
             o.errors.clear();
             return parseCodes(v, o.errors);
         }},
        {"--error-every", "a number of seconds",
         [&o](const std::string& v) { return parsePositiveDouble(v, false, o.errorEverySeconds); }},
        {"--time-scale", "a positive number",
         [&o](const std::string& v) { return parsePositiveDouble(v, false, o.timeScale); }},
        {"--drop-every", "a count", countInto(o.faults.dropEvery)},
        {"--corrupt-every", "a count", countInto(o.faults.corruptEvery)},
        {"--stray-every", "a count", countInto(o.faults.strayEvery)},
        {"--wrong-subcode-every", "a count", countInto(o.faults.wrongSubCodeEvery)},
        {"--ignore-write-every", "a count", countInto(o.faults.ignoreWriteEvery)},
        {"--delay-ms", "a number of milliseconds", countInto(o.faults.delayMs)},
        {"--silent-after", "a count", optionalCountInto(o.faults.silentAfter)},
        {"--hang-up-after", "a count", optionalCountInto(o.faults.hangUpAfter)},
        {"--hang-up-after-writes", "a count", optionalCountInto(o.faults.hangUpAfterWrites)},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        const std::size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--help" || name == "-h") {
            cl.help = true;
            continue;
        }
        const Option* option = nullptr;
        for (const Option& candidate : table) {
            if (name == candidate.name) {
                option = &candidate;
            }
        }
        if (option == nullptr) {
            return {std::nullopt, "unknown option '" + args[i] + "'"};
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return {std::nullopt, name + " needs " + option->expects};
            }
            value = args[++i];
        }
        if (!option->set(*value)) {
            return {std::nullopt, name + " needs " + option->expects + ", not '" + *value + "'"};
        }
    }
    return {cl, {}};
}

std::optional<ParameterImage> loadImageFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open the image " + path;
        return std::nullopt;
    }
    // One byte more than an image is enough to tell a longer file.
    std::vector<char> bytes(kImageSize + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(kImageSize)) {
        error = "the image " + path + " is not " + std::to_string(kImageSize) + " bytes long";
        return std::nullopt;
    }
    ParameterImage image{};
    std::memcpy(image.data(), bytes.data(), kImageSize);
    return image;
}

bool saveImageFile(const std::string& path, const ParameterImage& image, std::string& error) {
    std::vector<char> bytes(image.size());
    std::memcpy(bytes.data(), image.data(), image.size());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace kaldor::sim
