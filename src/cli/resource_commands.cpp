// res-pack, res-list and res-unpack.
#include "cli_support.h"

#include "fontexport/resource_item.h"
#include "model/error.h"
#include "platform/c_names.h"
#include "platform/text.h"
#include "resources/resource_file.h"

#include <QDir>

#include <functional>
#include <iostream>

namespace tesselor::cli {

namespace {

struct Pack {
    std::vector<std::string> inputs;
    std::string output;
    std::optional<std::string> declarations;
    std::optional<std::string> header;
    std::string prefix;
    bool ft800 = false;
    std::optional<std::string> depfile;
};

struct List {
    std::string input;
    bool long_ = false;
    bool ft800 = false;
};

struct Unpack {
    std::string input;
    std::string folder;
    std::optional<std::string> depfile;
};

std::string itemNamed(const std::string& name) {
    return "Resource '" + cnames::escaped(name) + "'";
}

// Whether res-unpack can write an item of this name as a file in a folder.
bool isFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// An input read where its bytes lie: its start at once, the rest in pieces of at most 1 MiB while an
// output is written, so that no file is ever held whole. A pipe cannot be read twice: it is held.
class Input {
public:
    Input(std::string path, std::size_t startBytes)
        : path_(std::move(path)), start_(fileio::readFileStart(path_, startBytes)) {}

    std::string_view start() const { return start_.bytes; }
    std::uint64_t size() const { return start_.size; }
    // Reads twice as much of the start, for an index that runs on past it.
    void readMoreOfTheStart() {
        start_ = fileio::readFileStart(path_, std::max<std::size_t>(start_.bytes.size(), 4096) * 2);
    }
    std::string bytesAt(std::uint64_t offset, std::size_t count) const {
        std::string bytes;
        copy(offset, count, [&bytes](std::string_view piece) { bytes += piece; });
        return bytes;
    }
    // Passes `count` bytes from `offset` to `put`, in order; the caller checked that the file holds them.
    void copy(std::uint64_t offset, std::uint64_t count,
              const std::function<void(std::string_view)>& put) const {
        if (start_.sequential || offset + count <= start_.bytes.size()) {
            put(std::string_view(start_.bytes)
                    .substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(count)));
            return;
        }
        // Opened for the copy alone: a thousand inputs never hold a thousand files open.
        fileio::PieceReader reader(path_);
        std::string piece(static_cast<std::size_t>(std::min<std::uint64_t>(count, kPiece)), '\0');
        while (count > 0) {
            const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(count, piece.size()));
            reader.read(offset, reinterpret_cast<std::uint8_t*>(piece.data()), size);
            put(std::string_view(piece).substr(0, size));
            offset += size;
            count -= size;
        }
    }

private:
    static constexpr std::uint64_t kPiece = std::uint64_t(1) << 20;
    std::string path_;
    fileio::FileStart start_;
};

int resPack(const Pack& o) {
    const std::string path = outputPath(o.output, ".res");
    std::vector<Input> inputs;
    std::vector<ItemEntry> entries;
    std::set<std::string> names;
    Outputs outputs;
    for (const std::string& input : o.inputs) {
        readableFile(input);
        Input& file = inputs.emplace_back(input, kItemHeaderSize + kMaxItemName);
        const auto item = readResourceItem(file.start(), file.size());
        if (!item)
            throw Error("File '" + input + "'\r\nNot compatible.");
        if (!names.insert(item->name).second)
            throw Error(itemNamed(item->name) + " already in the list.");
        // What res-unpack would refuse is refused here, before the .res is made.
        if (!isFileName(item->name))
            throw Error(itemNamed(item->name) + " in '" + input +
                        "' cannot be packed: its name is no file name");
        entries.push_back(itemEntry(
            *item, file.bytesAt(item->headerLength, std::min<std::size_t>(item->payloadSize, kPayloadPeek))));
        outputs.read(input);
    }
    const std::vector<ResourceRow> rows = resourceRows(entries);
    if (o.declarations) {
        const auto invalid = namesThatAreNoIdentifier(rows);
        if (!invalid.empty())
            throw Error(itemNamed(invalid.front()) +
                        " is no C identifier: its declaration would not compile");
    }
    // Every output is made before the first is written: all of them or none. The payloads go from their
    // files to the .res piece by piece.
    outputs.add(path, fileio::ContentWriter([&inputs, &entries](const auto& put) {
                    const Bytes index = writeResIndex(entries);
                    put(std::string_view(reinterpret_cast<const char*>(index.data()), index.size()));
                    for (std::size_t i = 0; i < entries.size(); ++i)
                        inputs[i].copy(entries[i].fields.headerLength, entries[i].fields.payloadSize, put);
                }));
    if (o.declarations)
        outputs.add(*o.declarations, resourceDeclarations(rows, o.prefix));
    if (o.header)
        outputs.add(*o.header, resourceHeader(entries, o.prefix.empty() ? defaultMacroPrefix(path) : o.prefix,
                                              *o.header, o.ft800));
    outputs.commit(o.depfile);
    return 0;
}

// The index of a .res, read from the file's start only: the payloads stay where they are.
std::vector<ResRecord> readIndex(Input& input, const std::string& path) {
    auto index = readResIndex(input.start(), input.size());
    while (index.needsMore) {
        input.readMoreOfTheStart();
        index = readResIndex(input.start(), input.size());
    }
    if (!index.records)
        throw Error("File '" + path + "'\r\nNot compatible.");
    return std::move(*index.records);
}

constexpr std::size_t kIndexStart = 64 * 1024;

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

// Streams its lines from the index alone: a file of half a million records lists in well under a second,
// in little memory, whatever the size of its payloads. The offsets are those the file stores, where the
// bytes are that res-unpack extracts.
int resList(const List& o) {
    readableFile(o.input);
    Input input(o.input, kIndexStart);
    const std::vector<ResRecord> records = readIndex(input, o.input);
    // Names come from the file: they are escaped for the terminal, and only identifiers become C.
    std::size_t width = 4;
    std::size_t typeWidth = 5;
    std::size_t longest = 0;
    for (const ResRecord& record : records) {
        width = std::max(width, cnames::escaped(record.name).size());
        typeWidth = std::max(typeWidth, resourceType(record.tag).size());
        longest = std::max(longest, record.name.size());
    }
    std::string line = padded("NAME", width) + "  " + padded("TYPE", typeWidth) + "  " + padded("SIZE", 10) +
                       (o.long_ ? "  OFFSET      FORMAT          WIDTH  HEIGHT  DEFLATED\n" : "  OFFSET\n");
    std::cout << line;
    for (const ResRecord& record : records) {
        line = padded(cnames::escaped(record.name), width) + "  " +
               padded(resourceType(record.tag), typeWidth) + "  " + padded(std::to_string(record.size), 10) +
               "  0x" + text::hex(record.offset, 8);
        if (o.long_) {
            // The payload lies in the file where its record says: the index reader checked it does.
            const ItemSummary summary = summariseItem(
                record.tag, input.bytesAt(record.offset, std::min<std::size_t>(record.size, kPayloadPeek)),
                record.size, o.ft800);
            line += "  " + padded(summary.format, 14) + "  " + padded(summary.width, 5) + "  " +
                    padded(summary.height, 6) + "  " + summary.deflated;
        }
        std::cout << line + "\n";
    }
    std::cout << "\n";
    std::set<std::string_view> declared;
    for (const ResRecord& record : records) {
        if (cnames::isIdentifier(record.name) && !declared.insert(record.name).second)
            line = "// '" + std::string(record.name) + "' is in the file twice: no second declaration\n";
        else if (cnames::isIdentifier(record.name))
            line = "const unsigned long " + padded(std::string(record.name), longest) + " = 0x" +
                   text::hex(record.offset, 8) + ";\n";
        else
            line = "// '" + cnames::escaped(record.name) + "' is no C identifier: no declaration\n";
        std::cout << line;
    }
    return 0;
}

int resUnpack(const Unpack& o) {
    readableFile(o.input);
    Input input(o.input, kIndexStart);
    const std::vector<ResRecord> records = readIndex(input, o.input);
    const std::string folder = o.folder.ends_with('/') ? o.folder : o.folder + "/";
    // Every name is checked before anything is written: an item is only ever written inside the folder,
    // as a new or regular file, never through a link that is already there.
    std::set<std::string> names;
    Outputs outputs;
    outputs.read(o.input);
    for (const ResRecord& record : records) {
        const std::string name(record.name);
        if (!isFileName(name))
            throw Error(itemNamed(name) + " cannot be unpacked: its name is no file name");
        if (!names.insert(name).second)
            throw Error(itemNamed(name) + " is in the file twice");
        const std::string path = folder + name + ".resdata";
        if (const auto reason = fileio::unwritableReason(path, fileio::Links::Refuse))
            throw Error(itemNamed(name) + " cannot be unpacked to '" + cnames::escaped(path) +
                        "': " + *reason);
        const Bytes header = resourceItemHeader(std::string(record.tag), name, record.size, false);
        outputs.add(path, fileio::ContentWriter([&input, header, record](const auto& put) {
                        put(std::string_view(reinterpret_cast<const char*>(header.data()), header.size()));
                        input.copy(record.offset, record.size, put);
                    }));
    }
    if (!QDir().mkpath(QString::fromStdString(o.folder)))
        throw Error("Cannot create the folder '" + o.folder + "'");
    outputs.commit(o.depfile, fileio::Links::Refuse);
    return 0;
}

} // namespace

Command defineResPack(CLI::App& app) {
    auto o = std::make_shared<Pack>();
    app.add_option("items", o->inputs, "The .resdata files, in the order of the file")->required();
    app.add_option("-o,--output", o->output, "The .res file to write")->required();
    app.add_option("--declarations", o->declarations, "Also write the declarations the window copies");
    app.add_option("--header", o->header, "Also write a header of offset and size macros");
    app.add_option(
        "--prefix", o->prefix,
        "The macros' prefix (default: the .res file's base name), and the declarations' with \"_\"");
    app.add_flag("--ft800", o->ft800,
                 "The images were made for the FT8xx: their header macros read FT8xx codes");
    app.add_option("--depfile", o->depfile, "Also write a Make rule naming the outputs and every input read");
    return {[o] {
                outputPath(o->output, ".res");
                if (!o->prefix.empty() && !cnames::isIdentifier(o->prefix))
                    throw UsageError("--prefix '" + cnames::escaped(o->prefix) + "' is no C identifier");
                if (!o->prefix.empty() && !o->header && !o->declarations)
                    throw UsageError("--prefix applies to --header and --declarations");
                if (o->ft800 && !o->header)
                    throw UsageError("--ft800 applies to --header");
                if (o->header)
                    o->header = outputPath(*o->header, ".h");
                if (o->declarations)
                    outputPath(*o->declarations, "");
            },
            [o] { return resPack(*o); }};
}

Command defineResList(CLI::App& app) {
    auto o = std::make_shared<List>();
    app.add_option("input", o->input, "The .res file")->required();
    app.add_flag("-l,--long", o->long_, "Also the format, width, height and deflation of each item");
    app.add_flag("--ft800", o->ft800, "With --long: the images' codes are FT8xx formats");
    return {[o] {
                if (o->ft800 && !o->long_)
                    throw UsageError("--ft800 applies to --long");
            },
            [o] { return resList(*o); }};
}

Command defineResUnpack(CLI::App& app) {
    auto o = std::make_shared<Unpack>();
    app.add_option("input", o->input, "The .res file")->required();
    app.add_option("-d,--folder", o->folder, "The folder for the .resdata files (made when missing)")
        ->required();
    app.add_option("--depfile", o->depfile, "Also write a Make rule naming the outputs and every input read");
    return {[o] {
                if (o->folder.empty())
                    throw UsageError("the folder name is empty");
            },
            [o] { return resUnpack(*o); }};
}

} // namespace tesselor::cli
