// The command line as a build runs it: the built program without a display. The core's tests check the
// bytes; these check that each subcommand writes the right files under the right names, refuses what it
// must with the right exit code and one line, and stands up to hostile files.
#include "bmp_writer.h"
#include "fixtures.h"
#include "fontexport/resource_item.h"
#include "gui_support.h"
#include "qtplatform/deflate.h"
#include "resources/resource_file.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zlib.h>

using namespace tesselor;

namespace {

struct Run {
    int code = -1;
    std::string out;
    std::string err;
};

// A .res of the given items, each record pointing where `offsets` says (default: one after another).
std::string resFile(const std::vector<std::pair<std::string, std::string>>& items,
                    const std::vector<std::uint32_t>& offsets = {}, const std::string& payloads = {}) {
    std::string index;
    std::size_t indexSize = 0;
    for (const auto& item : items)
        indexSize += 15 + item.first.size();
    std::uint32_t offset = static_cast<std::uint32_t>(7 + indexSize);
    std::string data;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& [name, payload] = items[i];
        Bytes record;
        appendU16(record,
                  static_cast<std::uint32_t>(15 + name.size() + (i + 1 == items.size() ? 0x8000 : 0)));
        appendU32(record, offsets.empty() ? offset : offsets[i]);
        appendU32(record, static_cast<std::uint32_t>(payload.size()));
        record.push_back(static_cast<std::uint8_t>(name.size()));
        index += std::string(record.begin(), record.end()) + name + "\x03" + "bmp";
        offset += static_cast<std::uint32_t>(payload.size());
        data += payload;
    }
    return std::string("RSC\x01\x00\x00\x00", 7) + index + (payloads.empty() ? data : payloads);
}

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::string bigEndian32(std::size_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// A PNG of one row of 8-bit samples: colour type 0 (grey), 4 (grey and alpha) or 6 (RGBA). Written here
// because Qt writes no grey and alpha PNG.
std::string pngRow(int colourType, const std::string& samples, int width) {
    auto chunk = [](const std::string& type, const std::string& data) {
        const std::string body = type + data;
        const uLong crc = ::crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
        return bigEndian32(data.size()) + body + bigEndian32(crc);
    };
    const std::string header =
        bigEndian32(std::size_t(width)) + bigEndian32(1) + "\x08" + char(colourType) + std::string(3, '\0');
    const std::string filtered = std::string(1, '\0') + samples;
    const Bytes stream =
        zlib::deflate(reinterpret_cast<const std::uint8_t*>(filtered.data()), filtered.size());
    return "\x89PNG\r\n\x1A\n" + chunk("IHDR", header) +
           chunk("IDAT", std::string(stream.begin(), stream.end())) + chunk("IEND", "");
}

// A GIF of 2 x 1 pixels, colours 0 and 1 of a global table of 16 (3 used): the LZW codes clear, 0, 1,
// end, 5 bits each.
const std::string kGif16 = std::string("GIF89a\x02\x00\x01\x00\x83\x00\x00", 13) +
                           std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 9) + std::string(39, '\0') +
                           std::string("\x2C\0\0\0\0\x02\0\x01\0\0\x04\x03\x10\x84\x08\0\x3B", 17);

const std::string kTinyItem =
    std::string("fnt\x19\x00\x00\x00\x14\x00\x00\x00\x08tiny_9x3", 20) + fixtures::kTinyPayload;
const std::string kLogoItem =
    std::string("bmp\x0A\x00\x00\x00\x10\x00\x00\x00\x04logo", 16) + fixtures::kLogoPayload;

} // namespace

class CliTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    // Set for the next runs of the program, on top of the test's own environment.
    std::vector<std::pair<QString, QString>> environment;

    std::string path(const std::string& name) const {
        return dir->filePath(QString::fromStdString(name)).toStdString();
    }
    std::string file(const std::string& name, const std::string& bytes) {
        QDir().mkpath(QFileInfo(QString::fromStdString(path(name))).path());
        return testsupport::writeFile(QString::fromStdString(path(name)), bytes);
    }
    std::string read(const std::string& name) { return testsupport::readFile(path(name)); }
    // A run that must succeed, its folders made first.
    void run(const QStringList& arguments) {
        for (const QString& argument : arguments)
            if (argument.contains('/') && !argument.startsWith('/'))
                QDir().mkpath(QFileInfo(QString::fromStdString(path(argument.toStdString()))).path());
        const Run result = tesselor(arguments);
        QVERIFY2(result.code == 0, result.err.c_str());
    }
    bool exists(const std::string& name) const {
        return QFileInfo::exists(QString::fromStdString(path(name)));
    }

    // The program under test: the built one, or another named by TESSELOR (an installed package, a mutant).
    static QString program() { return qEnvironmentVariable("TESSELOR", TESSELOR_EXECUTABLE); }

    // The built program without a display, in the test's folder. A file size limit is applied with the
    // signal it raises left at its default, as a shell's ulimit leaves it.
    Run tesselor(const QStringList& arguments, rlim_t fileSizeLimit = RLIM_INFINITY, int seconds = 120) {
        QProcess process;
        process.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (fileSizeLimit != RLIM_INFINITY)
                setrlimit(RLIMIT_FSIZE, &limit);
        });
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            variables.remove(name);
        for (const auto& [name, value] : environment)
            variables.insert(name, value);
        process.setProcessEnvironment(variables);
        process.setWorkingDirectory(dir->path());
        process.start(program(), arguments);
        if (!process.waitForFinished(seconds * 1000)) {
            process.kill();
            process.waitForFinished();
            return {};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
    }

    void writeFixtures() {
        file("tiny.font", fixtures::kTiny9x3Font);
        file("tiny.resdata", kTinyItem);
        file("logo.resdata", kLogoItem);
        const PixelImage redBlue = testsupport::imageFromRows({"rb"}, {{'r', 0x0000FF}, {'b', 0xFF0000}});
        file("logo.bmp", testsupport::writeBmp(redBlue));
        QImage alpha(3, 1, QImage::Format_ARGB32); // opaque red, green at alpha 127, transparent blue
        for (const auto& [x, rgba] :
             {std::pair{0, qRgba(255, 0, 0, 255)}, {1, qRgba(0, 255, 0, 127)}, {2, qRgba(0, 0, 255, 0)}})
            alpha.setPixel(x, 0, rgba);
        alpha.save(QString::fromStdString(path("alpha.png")));
        file("demo.res", resFile({{"tiny_9x3", fixtures::kTinyPayload}, {"logo", fixtures::kLogoPayload}}));
        file("g.gif", kGif16);
    }

private slots:
    void init() {
        environment.clear();
        dir = std::make_unique<QTemporaryDir>();
        writeFixtures();
    }
    void cleanup() { dir.reset(); }

    // Inflate gives the stream's bytes only at exactly the size expected: one byte more or fewer, or a
    // stream cut short, is nothing.
    void inflateChecksTheLength() {
        const Bytes plain = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        const Bytes stream = zlib::deflate(plain.data(), plain.size());
        QVERIFY(zlib::inflate(stream.data(), stream.size(), 10) == plain);
        QVERIFY(!zlib::inflate(stream.data(), stream.size(), 9));
        QVERIFY(!zlib::inflate(stream.data(), stream.size(), 11));
        QVERIFY(!zlib::inflate(stream.data(), stream.size() - 1, 10));
        const Bytes payload = {0, 1, 2, 0, 1, 0, 0xAA, 0xBB};
        const Bytes deflated = zlib::deflatePayload(payload);
        QVERIFY(zlib::inflatePayload(deflated, payload.size()) == payload);
        QVERIFY(!zlib::inflatePayload(deflated, payload.size() - 1));
    }

    // Each subcommand writes its file under the name the options give, and says nothing.
    void subcommandsWriteTheirOutputs_data() {
        QTest::addColumn<QString>("arguments"); // separated by "|"
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("fingerprint");
        // clang-format off
        QTest::newRow("font .c") << "font-export|tiny.font|-o|tiny.c" << "tiny.c" << QByteArray("const unsigned short tiny_9x3[]");
        QTest::newRow("font .c by --format") << "font-export|tiny.font|-o|plain|--format|c" << "plain.c" << QByteArray("plain_9x3[]");
        QTest::newRow("--format as the extension says") << "font-export|tiny.font|-o|same.C|--format|c" << "same.C" << QByteArray("same_9x3[]");
        QTest::newRow("font .c, u8") << "font-export|tiny.font|-o|t.c|--symbol|font_t|--c-type|u8" << "t.c"
                                     << QByteArray("#include <stdint.h>\r\n\r\nconst uint8_t font_t[] = {");
        QTest::newRow("font item") << "font-export|tiny.font|-o|tiny.resdata" << "tiny.resdata" << QByteArray("\x08tiny_9x3");
        QTest::newRow("font item, other extension") << "font-export|tiny.font|-o|o.txt|--format|resdata" << "o.txt" << QByteArray("\x05o_9x3");
        QTest::newRow("font .lcd") << "font-export|tiny.font|-o|tiny.lcd" << "tiny.lcd" << QByteArray("<FONTNAME>tiny</FONTNAME>");
        QTest::newRow("bitmap .c") << "bitmap-export|logo.bmp|-o|logo.c" << "logo.c" << QByteArray("const unsigned short logo_bmp[]");
        QTest::newRow("bitmap FT800 item") << "bitmap-export|logo.bmp|--ft800|-o|ft.resdata" << "ft.resdata" << QByteArray("\x02" "ft\x00\x07", 5);
        QTest::newRow("PNG with alpha, L4") << "bitmap-export|alpha.png|--ft800|--ft-format|l4|-o|a.resdata" << "a.resdata"
                                            << QByteArray("\x01" "a\x00\x02\x01\x00\x03\x00\xF7\x00", 10);
        QTest::newRow("ARGB4, zlib stream") << "bitmap-export|alpha.png|--ft800|--ft-format|ARGB4|--deflate|--dither|-o|z.c" << "z.c"
                                            << QByteArray("L4, zlib stream\r\n").replace("L4", "ARGB4") + "\r\nconst unsigned short alpha_bmp[] = {\r\n  0x01,0x06,";
        QTest::newRow("font-preview sheet") << "font-preview|tiny.font|--sheet|-o|sheet" << "sheet.png" << QByteArray("\x89PNG");
        QTest::newRow("font-from-system") << "font-from-system|--family|dejavu sans|--size|12|-o|d" << "d.font" << QByteArray("FontName:d\r\nFontWidth:");
        QTest::newRow("FT8xx font .bin") << "font-export|tiny.font|--ft8xx|--address|244|-o|t.bin" << "t.bin"
                                         << QByteArray("\x01\0\0\0\x02\0\0\0\x09\0\0\0\x03\0\0\0\x02\0\0\0", 20);
        QTest::newRow("FT8xx font item") << "font-export|tiny.font|--ft8xx|--ft-format|l4|--address|828|--deflate|-o|t.resdata" << "t.resdata"
                                         << QByteArray("ftf");
        QTest::newRow("controller's preview") << "font-preview|tiny.font|--ft8xx|--spacing|2|--text|AB|-o|p.png" << "p.png" << QByteArray("\x89PNG");
        QTest::newRow("GIF at its table's depth") << "bitmap-export|g.gif|-o|g.resdata" << "g.resdata"
                                                  << QByteArray("\x01" "g\x00\x04\x01\x00\x02\x00\x00\xF8\xE0\x07", 12);
        QTest::newRow("bytes swapped") << "bitmap-export|logo.bmp|--swap-bytes|-o|s.resdata" << "s.resdata"
                                       << QByteArray("\x01" "s\x00\x10\x01\x00\x02\x00\xF8\x00\x00\x1F", 12);
        QTest::newRow("onto white") << "bitmap-export|alpha.png|--background|#ffffff|-o|w.resdata" << "w.resdata"
                                    << QByteArray("\x00\xF8\xF0\x87\xFF\xFF", 6);
        QTest::newRow("layout macros") << "bitmap-export|alpha.png|--ft800|--ft-format|L4|--chip|ft80x|--deflate|-o|a.c|--header|a.h" << "a.h"
                                       << QByteArray("#define ALPHA_BMP_STRIDE 2u\r\n#define ALPHA_BMP_PALETTE_BYTES 0u\r\n"
                                                     "#define ALPHA_BMP_DATA_OFFSET 0u\r\n#define ALPHA_BMP_INFLATED_SIZE 2u\r\nextern");
        QTest::newRow("res-pack layout macros") << "res-pack|-o|all|--header|all.h|tiny.resdata|logo.resdata" << "all.h"
                                                << QByteArray("#define ALL_LOGO_WIDTH 2u\r\n");
        QTest::newRow("res-pack, FT8xx images") << "res-pack|-o|all|--header|all.h|--ft800|logo.resdata" << "all.h"
                                                << QByteArray("ALL_LOGO: no layout, the payload is no FT8xx bitmap");
        QTest::newRow("declarations with a prefix") << "res-pack|-o|all|--declarations|d.txt|--prefix|res|tiny.resdata" << "d.txt"
                                                    << QByteArray("const unsigned long res_tiny_9x3 = 0x");
        // clang-format on
    }
    void subcommandsWriteTheirOutputs() {
        QFETCH(QString, arguments);
        QFETCH(QString, output);
        QFETCH(QByteArray, fingerprint);
        const Run run = tesselor(arguments.split('|'));
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out + run.err, std::string());
        QVERIFY2(read(output.toStdString()).find(fingerprint.toStdString()) != std::string::npos,
                 qPrintable(output));
    }

    // A refusal is one line (and, for a usage error, where the options are) and leaves no output.
    void refusals_data() {
        QTest::addColumn<QString>("arguments"); // separated by "|"
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line");
        const QString system = "font-from-system|--family|DejaVu Sans|--size|";
        // clang-format off
        QTest::newRow("missing input") << "font-export|none.font|-o|x.c" << 1 << "File 'none.font'; Not found.";
        QTest::newRow("text as a font") << "font-export|logo.resdata|-o|x.c" << 1 << "'logo.resdata' is not a .font file: line 1 should start with 'FontName:'";
        QTest::newRow("derived name no identifier") << "font-export|tiny.font|-o|my tiny.c" << 1 << "'my tiny_9x3' is no C identifier: give --symbol";
        QTest::newRow("symbol no identifier") << "bitmap-export|logo.bmp|-o|x.c|--symbol|2nd" << 2 << "--symbol '2nd' is no C identifier";
        QTest::newRow("format against extension") << "font-export|tiny.font|-o|x.resdata|--format|c" << 2 << "--format c contradicts the extension of x.resdata";
        QTest::newRow("no format") << "font-export|tiny.font|-o|x.bin" << 2 << "the output file needs one of the extensions .bdf, .c, .lcd, .resdata, or --format";
        QTest::newRow("empty output") << "font-export|tiny.font|-o||--format|c" << 2 << "the output file name is empty";
        QTest::newRow("header without .c") << "font-export|tiny.font|-o|x.lcd|--header|x.h" << 2 << "--header and --c-type apply to a .c output";
        // What one output refuses, every subcommand that takes the option refuses.
        for (const QString command : {"font-export|tiny.font", "bitmap-export|alpha.png"}) {
            QTest::newRow(qPrintable(command + ": --c-type with .resdata")) << command + "|--c-type|u8|-o|x.resdata" << 2 << "--header and --c-type apply to a .c output";
            QTest::newRow(qPrintable(command + ": --header with .resdata")) << command + "|--header|x.h|-o|x.resdata" << 2 << "--header and --c-type apply to a .c output";
            QTest::newRow(qPrintable(command + ": --symbol not a C name")) << command + "|--symbol|1x|-o|x.c" << 2 << "--symbol '1x' is no C identifier";
        }
        QTest::newRow("from after to") << system + "12|--from|200|--to|100|-o|x" << 2 << "--from 200 is greater than --to 100";
        QTest::newRow("to 256") << system + "12|--to|256|-o|x" << 2 << "--to: takes a whole number from 32 to 255";
        QTest::newRow("size 1001") << system + "1001|-o|x" << 2 << "--size: takes a whole number from 1 to 1000";
        QTest::newRow("family missing") << "font-from-system|--family|No Such Face|--size|12|-o|x" << 1
            << "The font family 'No Such Face' is not installed; the installed families are listed by: fc-list : family";
        QTest::newRow("duplicate item") << "res-pack|-o|x.res|tiny.resdata|tiny.resdata" << 1 << "Resource 'tiny_9x3' already in the list.";
        QTest::newRow("item not compatible") << "res-pack|-o|x.res|tiny.font" << 1 << "File 'tiny.font'; Not compatible.";
        QTest::newRow("unknown subcommand") << "no-such-command|x" << 2 << "unknown subcommand 'no-such-command'";
        QTest::newRow("unknown option") << "font-export|tiny.font|-o|x.c|--bolder" << 2 << "The following argument was not expected: --bolder";
        QTest::newRow("no folder") << "font-from-bmp|nowhere|-o|x.font" << 1 << "Folder 'nowhere'; Not found.";
        QTest::newRow("format without --ft800") << "bitmap-export|alpha.png|--ft-format|L4|-o|x.c" << 2 << "--ft-format requires --ft800";
        QTest::newRow("unknown format") << "bitmap-export|alpha.png|--ft800|--ft-format|L3|-o|x.c" << 2
            << "--ft-format: L3 not in {ARGB1555,L1,L4,L8,RGB332,ARGB2,ARGB4,RGB565,PALETTED,PALETTED565,PALETTED4444,PALETTED8,L2}";
        QTest::newRow("no image") << "bitmap-export|tiny.font|-o|x.c" << 1 << "Cannot decode 'tiny.font': no image format known here reads it";
        QTest::newRow("family and file") << system + "12|--font-file|f.ttf|-o|x" << 2 << "--family excludes --font-file";
        QTest::newRow("no face") << "font-from-system|--size|12|-o|x" << 2 << "give --family or --font-file";
        QTest::newRow("no 8-bit code page") << system + "12|--codepage|UTF-8|-o|x" << 2 << "--codepage 'UTF-8' is none of the code pages listed by --help";
        QTest::newRow("code page and a blank") << system + "12|--codepage|windows-1250 |-o|x" << 2 << "--codepage 'windows-1250 ' is none of the code pages listed by --help";
        QTest::newRow("the machine's code page") << "font-from-bdf|tiny.font|--codepage|Locale|-o|x" << 2 << "--codepage 'Locale' is none of the code pages listed by --help";
        QTest::newRow("recorded code page Locale") << "font-export|locale.font|-o|x.lcd" << 1
            << "'Locale' is no 8-bit code page known here; the code pages are listed by: tesselor font-from-system --help";
        QTest::newRow("not a font file") << "font-from-system|--font-file|tiny.font|--size|12|-o|x" << 1 << "Cannot load the font file 'tiny.font'.";
        QTest::newRow("face not in the file") << "font-from-system|--font-file|" + QString(kDejaVu) + "|--size|12|--bold|-o|x" << 1
            << "The font file '" + QString(kDejaVu) + "' holds the Book face only: give the file of the face asked for";
        QTest::newRow("BDF without STARTFONT") << "font-from-bdf|tiny.font|-o|x" << 1 << "Line 1 of the BDF file: a BDF file starts with STARTFONT";
        QTest::newRow("preview of nothing") << "font-preview|tiny.font|-o|x.png" << 2 << "give --text or --sheet";
        QTest::newRow("colour") << "font-preview|tiny.font|--sheet|--ink|12345G|-o|x.png" << 2 << "--ink: takes a colour RRGGBB in hexadecimal";
        QTest::newRow("cut short") << "bitmap-export|short.bmp|-o|x.c" << 1 << "Cannot decode 'short.bmp': the pixel data is cut short";
        QTest::newRow("FT8xx pointer below 0") << "font-export|tiny.font|--ft8xx|-o|t.bin" << 1
            << "At the address 0 the glyph pointer would be below 0 (65 cells of 6 bytes before the first): the smallest address that works is 244";
        QTest::newRow("spacing without --ft8xx") << "font-export|tiny.font|--spacing|2|-o|x.c" << 2 << "--spacing and --space-width apply to --ft8xx, gfx and lvgl outputs";
        QTest::newRow("GFX into a .c") << "font-export|tiny.font|--format|gfx|-o|x.c" << 2 << "--format gfx contradicts the extension of x.c";
        QTest::newRow("--lvgl for GFX") << "font-export|tiny.font|--format|gfx|--lvgl|8|-o|x.h" << 2 << "--lvgl applies to --format lvgl";
        QTest::newRow("LVGL and --ft8xx") << "font-export|tiny.font|--format|lvgl|--ft8xx|-o|x.c" << 2 << "--format lvgl and --ft8xx are two different fonts";
        QTest::newRow("GFX with a header") << "font-export|tiny.font|--format|gfx|--header|y.h|-o|x.h" << 2 << "--header and --c-type apply to a .c output";
        QTest::newRow("depth 3") << system + "12|--depth|3|-o|x" << 2 << "--depth: 3 not in {1,2,4,8}";
        QTest::newRow("FT8xx .lcd") << "font-export|tiny.font|--ft8xx|-o|x.lcd" << 2 << "the output file needs one of the extensions .bin, .c, .resdata, or --format";
        QTest::newRow("format the chip lacks") << "bitmap-export|alpha.png|--ft800|--ft-format|L2|--chip|FT80x|-o|x.c" << 1
            << "L2 is no bitmap format on the FT80x (it needs FT81x, BT81x)";
        QTest::newRow("chip without --ft800") << "bitmap-export|alpha.png|--chip|FT81x|-o|x.c" << 2 << "--chip requires --ft800";
        QTest::newRow("controller's byte order") << "bitmap-export|alpha.png|--ft800|--swap-bytes|-o|x.c" << 2 << "--ft800 excludes --swap-bytes";
        QTest::newRow("background no colour") << "bitmap-export|alpha.png|--background|red|-o|x.c" << 2 << "--background: takes a colour RRGGBB in hexadecimal";
        QTest::newRow("JPEG cut short") << "bitmap-export|half.jpeg|-o|x.c" << 1 << "Cannot decode 'half.jpeg': the image data is cut short";
        QTest::newRow("GIF cut short") << "bitmap-export|half.gif|-o|x.c" << 1 << "Cannot decode 'half.gif': the image data is cut short";
        QTest::newRow("XBM cut short") << "bitmap-export|half.xbm|-o|x.c" << 1 << "Cannot decode 'half.xbm': the image data is cut short";
        QTest::newRow("TGA claiming 4096 x 4096") << "bitmap-export|claim.tga|-o|x.c" << 1 << "Cannot decode 'claim.tga': the image data is cut short";
        QTest::newRow("TIFF cut short, libtiff quiet") << "bitmap-export|half.tiff|-o|x.c" << 1 << "Cannot decode 'half.tiff' as TIFF: Unable to read image data";
        QTest::newRow("folder for a file") << "font-export|adir|-o|x.c" << 1 << "File 'adir'; Is a folder, not a file.";
        QTest::newRow("item named with a slash") << "res-pack|-o|x.res|slash.resdata" << 1
            << "Resource 'a/b' in 'slash.resdata' cannot be packed: its name is no file name";
        QTest::newRow("item without a name") << "res-pack|-o|x.res|empty.resdata" << 1
            << "Resource '' in 'empty.resdata' cannot be packed: its name is no file name";
        QTest::newRow("a word of 2 MB, cut") << "font-from-bdf|long.bdf|-o|x" << 1
            << "Line 2 of the BDF file: '" + QString(275, 'y') + "...";
        QTest::newRow("a device for a file") << "font-export|/dev/zero|-o|x.c" << 1 << "Cannot read '/dev/zero': it is a device, not a file";
        QTest::newRow("a named pipe nobody writes") << "bitmap-export|idle.png|-o|x.c" << 1 << "Cannot decode 'idle.png' as PNG: Unable to read image data";
        QTest::newRow("PCF bitmap font") << "font-from-system|--font-file|b.pcf|--size|12|-o|x" << 1
            << "'b.pcf' is a PCF bitmap font, which is not read here: convert it to BDF (pcf2bdf) and import that";
        QTest::newRow("records missing") << "font-export|bomb.font|-o|m.lcd" << 1 << "The record of character 0 is missing: the range is 0 to 255";
        QTest::newRow("prefix alone") << "res-pack|-o|x.res|--prefix|P|tiny.resdata" << 2 << "--prefix applies to --header and --declarations";
        // clang-format on
    }
    void refusals() {
        QFETCH(QString, arguments);
        QFETCH(int, code);
        QFETCH(QString, line);
        // 70 bytes that claim 5792 x 5792 pixels of 24 bits.
        std::string cut = testsupport::writeBmp(PixelImage(2, 2));
        cut.replace(18, 8, std::string("\xA0\x16\x00\x00\xA0\x16\x00\x00", 8));
        file("short.bmp", cut);
        // Half of each: the pixels a reader would make up.
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::red);
        for (const std::string format : {"jpeg", "xbm", "tiff"}) {
            QVERIFY(picture.save(QString::fromStdString(path("whole." + format))));
            const std::string whole = read("whole." + format);
            file("half." + format, whole.substr(0, whole.size() / 2));
        }
        file("half.gif", kGif16.substr(0, kGif16.size() - 3));
        file("claim.tga",
             std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\0\x10\0\x10\x20\x08", 18) + std::string(74, '\0'));
        file("locale.font", std::string(fixtures::kTiny9x3Font) + "CodePage:Locale\r\n");
        QDir().mkpath(QString::fromStdString(path("adir")));
        file("slash.resdata", writeResourceItemText("a/b"));
        file("empty.resdata", writeResourceItemText(""));
        if (!exists("idle.png"))
            QCOMPARE(::mkfifo(path("idle.png").c_str(), 0600), 0);
        file("b.pcf", std::string("\x01"
                                  "fcp\x08\0\0\0",
                                  8));
        file("long.bdf", "STARTFONT 2.1\nFONTBOUNDINGBOX " + std::string(2'000'000, 'y') + " 1 1 1\n");
        // 69 bytes that claim 256 cells of 512 x 512 pixels, and no record.
        file("bomb.font", "FontName:m\r\nFontWidth:512\r\nFontHeight:512\r\nRangeFrom:0\r\nRangeTo:255\r\n");
        const QStringList before = QDir(dir->path()).entryList(QDir::Files);
        const Run run = tesselor(arguments.split('|'));
        QCOMPARE(run.code, code);
        QCOMPARE(run.out, std::string());
        const std::string hint =
            code == 2 ? "\nRun 'tesselor " +
                            (arguments.startsWith("no-")
                                 ? std::string("--help' for the subcommands.")
                                 : arguments.section('|', 0, 0).toStdString() + " --help' for the options.")
                      : std::string();
        QCOMPARE(run.err, "tesselor: " + line.toStdString() + hint + "\n");
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), before);
    }

    // A grey font: the 1-bit outputs halve it and say so in one line; the controller's takes its levels.
    void greyFontOutputs() {
        run({"font-from-system", "--font-file", kDejaVu, "--size", "10", "--from", "48", "--to", "57",
             "--depth", "4", "-o", "grey.font"});
        const Run oneBit = tesselor({"font-export", "grey.font", "-o", "grey.c"});
        QCOMPARE(oneBit.code, 0);
        QCOMPARE(oneBit.err,
                 std::string("tesselor: warning: the font has 16 grey levels; this output has one bit a "
                             "pixel: levels 8 and above are ink\n"));
        const Run grey = tesselor({"font-export", "grey.font", "--ft8xx", "--ft-format", "L4", "--address",
                                   "0x1000", "--header", "grey.h", "-o", "grey.bin"});
        QCOMPARE(grey.code, 0);
        QCOMPARE(grey.err, std::string());
        const std::string header = read("grey.h");
        for (const char* line : {"#define GREY_", "FORMAT 2u /* L4 */", "FIRST 48u", "LAST 57u",
                                 "ADDRESS 0x00001000u", "CMD_SETFONT2(H, GREY_"})
            QVERIFY2(header.find(line) != std::string::npos, line);
    }

    // The ramp 00 24 ... FC of 8 pixels through each kind of input, to L8: the luminance formats take
    // the grey of an opaque image whatever its channels, the alpha of a translucent one (here black).
    void luminanceOfEachInputKind_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("source"); // --l-source
        QTest::addColumn<QByteArray>("levels");
        std::string grey, greyOpaque, rgbaOpaque, blackTranslucent,
            tga = std::string("\0\0\x02", 3) + std::string(9, '\0');
        tga += std::string("\x08\x00\x01\x00\x18\x20", 6);
        for (int i = 0; i < 8; ++i) {
            const char v = char(i * 0x24);
            grey += v;
            greyOpaque += std::string{v, '\xFF'};
            rgbaOpaque += std::string{v, v, v, '\xFF'};
            blackTranslucent += std::string{0, 0, 0, v};
            tga += std::string{v, v, v};
        }
        tga += std::string(8, '\0') + "TRUEVISION-XFILE." + '\0'; // Qt reads a TGA 2.0 file only
        const QByteArray ramp = QByteArray::fromStdString(grey);
        const QByteArray full(8, '\xFF'), none(8, '\0');
        const std::tuple<const char*, std::string, const char*, QByteArray> kinds[] = {
            {"grey.png", pngRow(0, grey, 8), "auto", ramp},
            {"opaque.png", pngRow(6, rgbaOpaque, 8), "auto", ramp},
            {"translucent.png", pngRow(6, blackTranslucent, 8), "auto", ramp},
            {"ramp.tga", tga, "auto", ramp},
            {"greyalpha.png", pngRow(4, greyOpaque, 8), "auto", ramp},
            {"opaque.png", pngRow(6, rgbaOpaque, 8), "alpha", full},
            {"translucent.png", pngRow(6, blackTranslucent, 8), "grey", none},
        };
        for (const auto& [name, bytes, source, levels] : kinds) {
            const QByteArray input = QByteArray::fromStdString(bytes);
            QTest::addRow("%s %s", name, source) << name << input << source << levels;
        }
    }
    void luminanceOfEachInputKind() {
        QFETCH(QString, name);
        QFETCH(QByteArray, input);
        QFETCH(QString, source);
        QFETCH(QByteArray, levels);
        file(name.toStdString(), input.toStdString());
        const Run run = tesselor(
            {"bitmap-export", name, "--ft800", "--ft-format", "L8", "--l-source", source, "-o", "l.resdata"});
        QVERIFY2(run.code == 0, run.err.c_str());
        QCOMPARE(QByteArray::fromStdString(read("l.resdata")).right(levels.size()), levels);
    }

    // What the device will not show as drawn is said once; the listing reads each payload's header.
    void translucencyWarningAndLongListing() {
        const Run lost = tesselor({"bitmap-export", "alpha.png", "-o", "w.c"});
        QCOMPARE(lost.code, 0);
        QCOMPARE(lost.err,
                 std::string("tesselor: warning: the image has translucent pixels and native 16-bit "
                             "keeps no alpha: they show their hidden colour (--background RRGGBB "
                             "composites them first)\n"));
        run({"bitmap-export", "alpha.png", "--ft800", "--ft-format", "ARGB4", "--deflate", "-o",
             "a.resdata"});
        run({"res-pack", "-o", "all.res", "tiny.resdata", "a.resdata"});
        const Run listed = tesselor({"res-list", "--long", "--ft800", "all.res"});
        QCOMPARE(listed.code, 0);
        for (const char* line :
             {"NAME      TYPE   SIZE        OFFSET      FORMAT          WIDTH  HEIGHT  DEFLATED\n",
              "tiny_9x3  Font   25          0x0000002E  font            -      3       no\n",
              "a         Image  "})
            QVERIFY2(listed.out.find(line) != std::string::npos, listed.out.c_str());
        QVERIFY2(listed.out.find("ARGB4           3      1       yes\n") != std::string::npos,
                 listed.out.c_str());
    }

    void helpOfEachSubcommand() {
        const Run all = tesselor({"--help"});
        QCOMPARE(all.code, 0);
        QVERIFY(all.out.find("res-unpack") != std::string::npos);
        const Run one = tesselor({"font-export", "--help"});
        QCOMPARE(one.code, 0);
        QVERIFY(one.out.starts_with("Write a .font for the device"));
        QVERIFY(one.out.find("--symbol TEXT") != std::string::npos);
        QCOMPARE(tesselor({"--version"}).out, "tesselor " TESSELOR_VERSION "\n");
    }

    // A font file gives on a machine without any font installed what the installed family gives.
    void fontFileWithoutInstalledFonts() {
        run({"font-from-system", "--family", "DejaVu Sans", "--size", "11", "-o", "family/f.font"});
        file("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + path("cache") +
                               "</cachedir></fontconfig>\n");
        environment = {{"FONTCONFIG_FILE", QString::fromStdString(path("fonts.conf"))}};
        QCOMPARE(tesselor({"font-from-system", "--family", "DejaVu Sans", "--size", "11", "-o", "x"}).code,
                 1);
        run({"font-from-system", "--font-file", kDejaVu, "--size", "11", "-o", "file/f.font"});
        QCOMPARE(read("file/f.font"), read("family/f.font"));
    }

    // A code page maps each code to its character: KOI8-R 0xC0 and Windows-1251 0xFE are both ю. The font
    // records its code page; codes without a character are named once.
    void codePages() {
        run({"font-from-system", "--family", "DejaVu Sans", "--size", "11", "--codepage", "koi8-r", "--from",
             "192", "--to", "192", "-o", "koi8.font"});
        run({"font-from-system", "--family", "DejaVu Sans", "--size", "11", "--codepage", "windows-1251",
             "--from", "254", "--to", "254", "-o", "cp1251.font"});
        const auto glyph = [](const std::string& font) {
            const std::size_t start = font.find("  Width:");
            return font.substr(start, font.find("CodePage:") - start);
        };
        QCOMPARE(glyph(read("koi8.font")), glyph(read("cp1251.font")));
        QVERIFY(read("koi8.font").find("CodePage:KOI8-R\r\nBaseline:") != std::string::npos);
        const Run run = tesselor({"font-from-system", "--family", "DejaVu Sans", "--size", "11", "--from",
                                  "128", "--to", "160", "-o", "w.font"});
        QCOMPARE(run.err, std::string("tesselor: warning: these codes have no character in windows-1252, "
                                      "each is drawn as its decoder "
                                      "reads it: 129, 141, 143, 144, 157\n"));
        QVERIFY(read("w.font").find("CodePage") == std::string::npos);
        QVERIFY(tesselor({"font-export", "koi8.font", "-o", "koi8.lcd"}).code == 0);
        QVERIFY(read("koi8.lcd").starts_with("<?xml version=\"1.0\" encoding=\"KOI8-R\"?>"));
    }

    // A real BDF: its 'A' as the file draws it, and out and back in gives the same font.
    void realBdfFontInAndOut() {
        const std::string bdf = TESSELOR_TEST_DATA "/5x7-koi8r.bdf";
        run({"font-from-bdf", QString::fromStdString(bdf), "-o", "in/k.font"});
        const std::string font = read("in/k.font");
        QVERIFY(
            font.find("Char:65\r\n  Width:5\r\n    BitMap:01100\r\n           10010\r\n           10010\r\n"
                      "           11110\r\n           10010\r\n           10010\r\n           00000\r\n") !=
            std::string::npos);
        QVERIFY(font.ends_with("CodePage:KOI8-R\r\nBaseline:5\r\n")); // FONT_ASCENT 6
        run({"font-export", "in/k.font", "-o", "k.bdf"});
        QVERIFY(read("k.bdf").find("STARTCHAR C00C0\nENCODING 1102\n") != std::string::npos); // ю in Unicode
        run({"font-from-bdf", "k.bdf", "--codepage", "KOI8-R", "-o", "back/k.font"});
        QCOMPARE(read("back/k.font"), font);
    }

    // The picture of a text: the glyphs side by side at their widths, scaled; a character not in the
    // font is skipped and named.
    void previewOfAText() {
        const Run run = tesselor({"font-preview", "tiny.font", "--text", "AZBA", "--scale", "2", "--ink",
                                  "#FF0000", "-o", "p.png"});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, std::string("tesselor: warning: not in the font, skipped: Z\n"));
        const QImage picture(QString::fromStdString(path("p.png")));
        const std::vector<std::string> a = {"010", "101", "111"}, b = {"100000001", "000000000", "000000010"};
        std::vector<std::string> rows(3);
        for (int y = 0; y < 3; ++y)
            rows[std::size_t(y)] = a[std::size_t(y)] + b[std::size_t(y)] + a[std::size_t(y)];
        QCOMPARE(picture.size(), QSize(15 * 2, 3 * 2));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 30; ++x)
                QCOMPARE(picture.pixelColor(x, y), rows[std::size_t(y / 2)][std::size_t(x / 2)] == '1'
                                                       ? QColor(Qt::red)
                                                       : QColor(Qt::white));
    }

    // Headers and declarations: each output of a command is written, or none of them.
    void multipleOutputsAreAllOrNothing() {
        file("all.res", "old");
        file("taken", "");
        for (const QStringList& failing :
             {QStringList{"--declarations", "no/such/folder/all.h"}, QStringList{"--header", "taken/all.h"},
              QStringList{"--depfile", "/dev/full"}}) {
            const Run run =
                tesselor(QStringList{"res-pack", "-o", "all.res", "tiny.resdata", "logo.resdata"} + failing);
            QCOMPARE(run.code, 1);
            QCOMPARE(read("all.res"), std::string("old"));
        }
        QVERIFY(tesselor({"res-pack", "-o", "all.res", "--declarations", "all.txt", "--header", "all.h",
                          "--depfile", "all.d", "tiny.resdata", "logo.resdata"})
                    .code == 0);
        QCOMPARE(read("all.txt"), std::string("const unsigned long tiny_9x3 = 0x00000031;\r\n"
                                              "const unsigned long logo     = 0x0000004A;\r\n"));
        QVERIFY(read("all.h").find("#define ALL_LOGO_OFFSET 0x0000004Au\r\n") != std::string::npos);
        QCOMPARE(read("all.d"), std::string("all.res all.txt all.h: \\\n  tiny.resdata \\\n  logo.resdata\n\n"
                                            "tiny.resdata:\n\nlogo.resdata:\n"));
        // The declarations refuse an item name that would not compile; the header makes it a macro.
        file("bad.resdata", writeResourceItemText("my logo"));
        QCOMPARE(tesselor({"res-pack", "-o", "b.res", "--declarations", "b.h", "bad.resdata"}).err,
                 std::string(
                     "tesselor: Resource 'my logo' is no C identifier: its declaration would not compile\n"));
        QCOMPARE(tesselor({"res-pack", "-o", "b.res", "--header", "b.h", "bad.resdata"}).code, 0);
        QVERIFY(read("b.h").find("#define B_MY_LOGO_SIZE 2u") != std::string::npos);
    }

    // The faults an attacker's files or a hostile setting could cause, one row each: every one is refused
    // or handled, with nothing lost and nothing written half.
    void hostileFilesAndFailedWrites_data() {
        QTest::addColumn<int>("fault");
        const char* faults[] = {"records share one payload",
                                "link in the target folder",
                                "name longer than the file system takes",
                                "control characters in names",
                                "RLE stream that ends early",
                                "cell of several character files",
                                "200,000 records",
                                "file size limit",
                                "device named exactly",
                                "standard output full",
                                "PNG chunk claiming a gigabyte",
                                "payloads in another order, after a gap",
                                "two items of one name",
                                "standard output"};
        for (int i = 0; i < static_cast<int>(std::size(faults)); ++i)
            QTest::newRow(faults[i]) << i;
    }
    void hostileFilesAndFailedWrites() {
        QFETCH(int, fault);
        switch (fault) {
        case 0: { // refused, not copied four hundred times
            std::vector<std::pair<std::string, std::string>> shared;
            for (int i = 1000; i < 1400; ++i)
                shared.push_back({"i" + std::to_string(i), std::string(64, 'p')});
            file("shared.res",
                 resFile(shared, std::vector<std::uint32_t>(400, 7 + 400 * 20), std::string(64, 'p')));
            QCOMPARE(tesselor({"res-list", "shared.res"}).err,
                     std::string("tesselor: File 'shared.res'; Not compatible.\n"));
            QCOMPARE(tesselor({"res-unpack", "shared.res", "-d", "out"}).code, 1);
            QVERIFY(!exists("out"));
            break;
        }
        case 1: { // never written through, and nothing else written either
            file("victim", "keep");
            QDir().mkpath(QString::fromStdString(path("d")));
            QVERIFY(QFile::link("../victim", QString::fromStdString(path("d/logo.resdata"))));
            QCOMPARE(tesselor({"res-unpack", "demo.res", "-d", "d"}).code, 1);
            QCOMPARE(read("victim"), std::string("keep"));
            QVERIFY(!exists("d/tiny_9x3.resdata"));
            break;
        }
        case 2: // refused before the first item is written; a file name of 255 bytes is written
            file("long.res", resFile({{"a", "1"}, {std::string(248, 'n'), "2"}}));
            QCOMPARE(tesselor({"res-unpack", "long.res", "-d", "l"}).code, 1);
            QVERIFY(!exists("l/a.resdata"));
            file("longest.res", resFile({{"a", "1"}, {std::string(247, 'n'), "2"}}));
            QCOMPARE(tesselor({"res-unpack", "longest.res", "-d", "l"}).code, 0);
            QVERIFY(exists("l/" + std::string(247, 'n') + ".resdata"));
            break;
        case 3: { // escaped for the terminal, and C only from identifiers
            file("names.res", resFile({{"a\nb", "1"}, {"\x1b[2J", "2"}, {"ok", "3"}}));
            const Run listed = tesselor({"res-list", "names.res"});
            QVERIFY2(listed.out.find("a\\x0Ab  ") != std::string::npos &&
                         listed.out.find('\x1b') == std::string::npos,
                     listed.out.c_str());
            QVERIFY(listed.out.ends_with("// 'a\\x0Ab' is no C identifier: no declaration\n"
                                         "// '\\x1B[2J' is no C identifier: no declaration\n"
                                         "const unsigned long ok   = 0x0000003F;\n"));
            break;
        }
        case 4: { // the same bytes on every run
            // A full palette, so that any index a decoder left to chance shows as some colour.
            testsupport::BmpOptions rle{.bits = 8, .compression = testsupport::BmpOptions::Compression::Rle8};
            for (Colour c = 0; c < 256; ++c)
                rle.palette.push_back(c * 0x010305);
            const std::string whole = testsupport::writeBmp(PixelImage(8, 8, 0), rle);
            const std::size_t stream =
                static_cast<unsigned char>(whole[10]) | static_cast<unsigned char>(whole[11]) << 8;
            file("early.bmp", whole.substr(0, stream + 4) + std::string("\x00\x01", 2));
            QCOMPARE(tesselor({"bitmap-export", "early.bmp", "-o", "a.c"}).code, 0);
            QCOMPARE(tesselor({"bitmap-export", "early.bmp", "-o", "b.c"}).code, 0);
            QCOMPARE(read("a.c"), read("b.c"));
            break;
        }
        case 5: // each file is small; the cell they make together is refused
            file("alt/32.bmp", testsupport::writeBmp(PixelImage(4096, 1), {.bits = 1}));
            file("alt/33.bmp", testsupport::writeBmp(PixelImage(1, 4096), {.bits = 1}));
            QVERIFY(tesselor({"font-from-bmp", "alt", "-o", "alt.font"})
                        .err.starts_with("tesselor: The character file 'alt/33.bmp'"));
            break;
        case 6: { // one pass: a search from the start for every line took minutes
            std::vector<std::pair<std::string, std::string>> many(200000, {"n", ""});
            for (std::size_t i = 0; i < many.size(); ++i)
                many[i].first = "n" + std::to_string(i);
            file("many.res", resFile(many));
            QCOMPARE(tesselor({"res-list", "many.res"}, RLIM_INFINITY, 10).code, 0);
            break;
        }
        case 7: { // a message and exit 1, the old file intact, no temporary file left
            file("tiny.lcd", "old contents");
            const Run limited = tesselor({"font-export", "tiny.font", "-o", "tiny.lcd"}, 64);
            QCOMPARE(limited.code, 1);
            QVERIFY2(limited.err.starts_with("tesselor: Cannot write 'tiny.lcd'"), limited.err.c_str());
            QCOMPARE(read("tiny.lcd"), std::string("old contents"));
            QVERIFY(QDir(dir->path()).entryList({".*tmp*", "*.tmp"}, QDir::Hidden | QDir::Files).isEmpty());
            break;
        }
        case 8: // written as it is, no extension appended
            QCOMPARE(tesselor({"font-export", "tiny.font", "-o", "/dev/full", "--format", "c"}).code, 1);
            QVERIFY(!QFileInfo::exists("/dev/full.c"));
            QCOMPARE(tesselor({"font-export", "tiny.font", "-o", "/dev/null", "--format", "c"}).code, 0);
            break;
        case 9: // a failure, not a success
            for (const QStringList& arguments :
                 {QStringList{"res-list", "demo.res"}, QStringList{"--help"}}) {
                QProcess process;
                process.setStandardOutputFile("/dev/full");
                process.setWorkingDirectory(dir->path());
                process.start(program(), arguments);
                QVERIFY(process.waitForFinished());
                QCOMPARE(process.exitCode(), 1);
            }
            break;
        case 10: { // refused before the PNG library allocates what the chunk claims
            const std::string png = read("alpha.png");
            const std::size_t end = png.find("IEND") - 4;
            file("big.png", png.substr(0, end) + std::string("\x46\x00\x00\x00tEXtabc", 11));
            QCOMPARE(
                tesselor({"bitmap-export", "big.png", "-o", "big.c"}).err,
                std::string("tesselor: Cannot decode 'big.png': its tEXt chunk claims 1174405120 bytes; the "
                            "file holds 0 after it\n"));
            break;
        }
        case 13: { // standard output, here a pipe: "-" and /dev/stdout alike, no file made
            const Run dash =
                tesselor({"font-export", "tiny.font", "-o", "-", "--format", "c", "--symbol", "t"});
            QCOMPARE(dash.code, 0);
            QVERIFY2(dash.out.starts_with("// Font Generated") && dash.out.ends_with("};\r\n"),
                     dash.err.c_str());
            const Run device =
                tesselor({"bitmap-export", "logo.bmp", "-o", "/dev/stdout", "--format", "resdata"});
            QCOMPARE(device.code, 0);
            QVERIFY(device.out.starts_with("bmp") && device.out.find("\x06stdout") != std::string::npos);
            QVERIFY(!QFileInfo::exists("/dev/stdout.resdata"));
            QVERIFY(!exists("-") && !exists("-.c"));
            break;
        }
        case 12: { // one declaration a name: a second would not compile
            file("twice.res", resFile({{"a", "1"}, {"a", "2"}}));
            const Run listed = tesselor({"res-list", "twice.res"});
            QVERIFY2(listed.out.ends_with("const unsigned long a = 0x00000027;\n"
                                          "// 'a' is in the file twice: no second declaration\n"),
                     listed.out.c_str());
            break;
        }
        case 11: { // the offsets listed are where res-unpack takes each payload from
            const std::string res = resFile({{"a", "AAAA"}, {"b", "BB"}}, {43, 40}, "gBBxAAAA");
            file("moved.res", res);
            const Run listed = tesselor({"res-list", "moved.res"});
            QVERIFY2(listed.out.ends_with("const unsigned long a = 0x0000002B;\n"
                                          "const unsigned long b = 0x00000028;\n"),
                     listed.out.c_str());
            QCOMPARE(tesselor({"res-unpack", "moved.res", "-d", "m"}).code, 0);
            QVERIFY(read("m/a.resdata").ends_with("AAAA"));
            QVERIFY(read("m/b.resdata").ends_with("BB"));
            break;
        }
        }
    }

    // No command holds a large file whole: an image whose header claims more pixels than an image may have
    // is refused from its header (these files are sparse, of 600 and 240 MB); res-list of a file of almost
    // 4 GB reads its index alone; payloads larger than the piece copied at a time pack and unpack to the
    // very bytes.
    void largeFilesAreNeverReadWhole() {
        const auto peakKiB = [] {
            rusage usage{};
            getrusage(RUSAGE_CHILDREN, &usage);
            return usage.ru_maxrss;
        };
        const long before = peakKiB();
        std::string png = pngRow(6, "", 8000).substr(0, 33); // the signature and IHDR, made 8000 high
        png.replace(20, 4, bigEndian32(8000));
        png.replace(29, 4, bigEndian32(::crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17)));
        file("huge.png", png + bigEndian32(600'000'000) + "IDAT");
        std::string bmp = testsupport::writeBmp(PixelImage(1, 1));
        bmp.replace(18, 8, std::string("\x10\x27\x00\x00\x40\x1F\x00\x00", 8)); // 10000 x 8000
        file("huge.bmp", bmp.substr(0, 54));
        for (const auto& [name, size] :
             {std::pair{"huge.png", 600'000'045LL}, {"huge.bmp", 54 + 240'000'000LL}}) {
            QVERIFY(QFile::resize(QString::fromStdString(path(name)), size));
            const Run refused = tesselor({"bitmap-export", name, "-o", "x.c"});
            QVERIFY2(refused.err.ends_with("pixels, more than the 16777216 pixels an image may have\n"),
                     refused.err.c_str());
        }
        QVERIFY2(peakKiB() <= std::max(before, 200'000L), qPrintable(QString::number(peakKiB())));

        std::string index = resFile({{"big", ""}});
        index.replace(13, 4, std::string("\x00\x00\x00\xF0", 4)); // the payload's size: 0xF0000000
        file("big.res", index);
        QVERIFY(QFile::resize(QString::fromStdString(path("big.res")), qint64(index.size()) + 0xF0000000));
        const Run listed = tesselor({"res-list", "--long", "big.res"}, RLIM_INFINITY, 10);
        QCOMPARE(listed.code, 0);
        QVERIFY2(listed.out.find("big   Image  4026531840  0x00000019") != std::string::npos,
                 listed.out.c_str());

        std::string payload(5 * 512 * 1024 + 3, '\0');
        for (std::size_t i = 0; i < payload.size(); ++i)
            payload[i] = char(i * 7 + i / 977);
        const Bytes wide = writeResourceItem("bmp", "wide", payload);
        file("wide.resdata", std::string(wide.begin(), wide.end()));
        run({"res-pack", "-o", "w.res", "tiny.resdata", "wide.resdata"});
        const Bytes packed = writeResFile({Bytes(kTinyItem.begin(), kTinyItem.end()), wide});
        QVERIFY(read("w.res") == std::string(packed.begin(), packed.end()));
        run({"res-unpack", "w.res", "-d", "out"});
        QVERIFY(read("out/wide.resdata") == std::string(wide.begin(), wide.end()));
        QCOMPARE(read("out/tiny_9x3.resdata"), kTinyItem);
    }

    // Ctrl+C, a kill or a closed terminal while the outputs are written: the temporary files go with the
    // program. The header is a pipe nobody reads yet, so the program waits with the .c's temporary file made.
    void signalsLeaveNoTemporaryFile_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalsLeaveNoTemporaryFile() {
        QFETCH(int, signal);
        QCOMPARE(::mkfifo(path("pipe.h").c_str(), 0600), 0);
        QProcess process;
        // As a terminal starts it, whatever this test was started under (nohup ignores SIGHUP).
        process.setChildProcessModifier([signal] { ::signal(signal, SIG_DFL); });
        process.setWorkingDirectory(dir->path());
        process.start(program(), {"font-export", "tiny.font", "-o", "t.c", "--header", "pipe.h"});
        QVERIFY(process.waitForStarted());
        const auto temporaries = [this] {
            return QDir(dir->path()).entryList({".tesselor-*.tmp"}, QDir::Hidden | QDir::Files);
        };
        QTRY_COMPARE_WITH_TIMEOUT(temporaries().size(), 1, 10000);
        ::kill(static_cast<pid_t>(process.processId()), signal);
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(temporaries(), QStringList());
        QVERIFY(!exists("t.c"));
    }

private:
    std::string writeResourceItemText(const std::string& name) {
        const Bytes item = writeResourceItem("bmp", name, Bytes{1, 2});
        return {item.begin(), item.end()};
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
