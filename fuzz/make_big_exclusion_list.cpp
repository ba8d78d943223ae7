// Writes a large exclusion-list file for one run through the exclusion-list fuzz target:
//   make_big_exclusion_list OUTPUT [BYTES]   (default 10 MiB)
// The content is the same on every run: lines of class-name-like text, blanks, Shift-JIS pairs
// (valid ones, ones with a backslash-like trail byte, cut and invalid ones) and other high bytes,
// ended by CR LF, lone CR, lone LF or LF CR, with now and then an empty line, a line of 100,000
// bytes, and a last line without a line end. There is no NUL, so every byte takes part.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class Random {
public:
    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ >> 32);
    }
    std::size_t Below(std::size_t bound) { return Next() % bound; }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

void AppendLine(std::string& out, Random& random) {
    static const char* const kNames[] = {
        "Notepad", "CabinetWClass",      "Shell_TrayWnd", "#32770",
        "Edit",    "ConsoleWindowClass", "Progman",       "tooltips_class32"};
    static const char* const kSjis[] = {"\x83\x5C", "\x95\x5C", "\x83\x74\x83\x48\x81\x5B\x83\x80",
                                        "\x81",     "\x81\x7F", "\xFD\xFE\xFF",
                                        "\xA0",     "\x80",     "\xEF\xBB\xBF"};
    const std::size_t kind = random.Below(100);
    if (kind < 3) return; // an empty line
    if (kind < 4) {       // a very long line
        for (std::size_t i = 0; i < 100000; ++i)
            out.push_back(static_cast<char>('A' + random.Below(26)));
        return;
    }
    const std::size_t parts = 1 + random.Below(6);
    for (std::size_t p = 0; p < parts; ++p) {
        switch (random.Below(5)) {
        case 0:
            out += kNames[random.Below(sizeof kNames / sizeof kNames[0])];
            break;
        case 1:
            out += kSjis[random.Below(sizeof kSjis / sizeof kSjis[0])];
            break;
        case 2:
            out.append(1 + random.Below(3), random.Below(2) == 0 ? ' ' : '\t');
            break;
        case 3:
            out.push_back(static_cast<char>(0x80 + random.Below(0x80)));
            break;
        default:
            for (std::size_t i = 1 + random.Below(20); i > 0; --i) {
                char c = static_cast<char>(1 + random.Below(126)); // any byte but NUL, CR and LF
                if (c == '\r' || c == '\n') c = '_';
                out.push_back(c);
            }
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT [BYTES]\n", argv[0]);
        return 2;
    }
    const std::size_t target = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : std::size_t{10} << 20;

    Random random;
    std::string out;
    out.reserve(target + 200000);
    static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\n\r"};
    while (out.size() < target) {
        AppendLine(out, random);
        out += kEnds[random.Below(sizeof kEnds / sizeof kEnds[0])];
    }
    out.resize(target);
    if (!out.empty() && (out.back() == '\r' || out.back() == '\n')) out.back() = 'Z'; // an open last line

    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr || std::fwrite(out.data(), 1, out.size(), file) != out.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
