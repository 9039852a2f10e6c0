// A resource list of 1,000 items making a .res of 200 MB: import, refresh, save and open, each against
// reading or writing the same bytes with one fread or fwrite; and how refreshing grows from 100 to 1,000
// rows.
#include "app/command_support.h"
#include "app/resources_page.h"
#include "bench_support.h"
#include "platform/qt_dialogs.h"
#include "resources/resource_file.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace tesselor;

namespace {

std::string readWhole(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    std::string bytes(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::fseek(file, 0, SEEK_SET);
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    bytes.resize(read);
    return bytes;
}

void writeWhole(const std::string& path, const void* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tesselor-bench-items";
    std::filesystem::create_directories(folder);

    constexpr int kItems = 1000;
    constexpr std::size_t kPayload = 200'000;
    std::vector<std::string> files;
    for (int i = 0; i < kItems; ++i) {
        const Bytes item = writeResourceItem(i % 2 ? "fnt" : "bmp", "item_" + std::to_string(i),
                                             Bytes(kPayload, static_cast<std::uint8_t>(i)));
        files.push_back((folder / ("item_" + std::to_string(i) + ".resdata")).string());
        writeWhole(files.back(), item.data(), item.size());
    }

    // Import: read each file, check it, append it.
    ResourceItems items;
    double seconds = bench::bestSeconds([&] {
        items.clear();
        for (const std::string& file : files) {
            const std::string bytes = readWhole(file);
            if (readResourceItem(bytes))
                items.emplace_back(bytes.begin(), bytes.end());
        }
    });
    std::size_t total = 0;
    const double readLimit = bench::bestSeconds([&] {
        total = 0;
        for (const std::string& file : files)
            total += readWhole(file).size();
    });
    bench::report("import 1,000 items", total, seconds, readLimit);

    // Save and open the .res.
    const std::string res = (folder / "bench.res").string();
    Bytes file;
    seconds = bench::bestSeconds([&] {
        file = writeResFile(items);
        writeWhole(res, file.data(), file.size());
    });
    const double writeLimit = bench::bestSeconds([&] { writeWhole(res + ".raw", file.data(), file.size()); });
    bench::report("save .res", file.size(), seconds, writeLimit);
    seconds = bench::bestSeconds([&] { items = *readResFile(readWhole(res)); });
    const double openLimit = bench::bestSeconds([&] { total = readWhole(res).size(); });
    bench::report("open .res", total, seconds, openLimit);

    // Refresh: the rows and declarations, then the whole view of the page.
    AppState state;
    ResourcesDocument document;
    QtDialogs dialogs;
    CommandSupport commands(dialogs, nullptr);
    ResourcesPage page(state, document, commands);
    auto refresh = [&](std::size_t count) {
        document.open({items.begin(), items.begin() + static_cast<std::ptrdiff_t>(count)}, "");
        return bench::bestSeconds([&] { page.RefreshResourceView(); }, 5);
    };
    const double hundred = refresh(100);
    const double thousand = refresh(1000);
    std::printf("%-44s 100 rows %9.5f s  1,000 rows %9.5f s  growth %5.2f (at most 12)\n", "refresh the view",
                hundred, thousand, thousand / hundred);
    seconds = bench::bestSeconds([&] { total = resourceDeclarations(resourceRows(items)).size(); });
    bench::report("rows and declarations of 1,000 items", total, seconds, bench::fwriteSeconds(total));

    std::filesystem::remove_all(folder);
    return 0;
}
