#include "qtplatform/code_pages.h"

#include "model/error.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>

namespace tesselor {

const std::vector<std::string>& codePageNames() {
    static const std::vector<std::string> names = {
        "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254", "windows-1255",
        "windows-1256", "windows-1257", "windows-1258", "ISO-8859-1",   "ISO-8859-2",   "ISO-8859-3",
        "ISO-8859-4",   "ISO-8859-5",   "ISO-8859-6",   "ISO-8859-7",   "ISO-8859-8",   "ISO-8859-9",
        "ISO-8859-10",  "ISO-8859-11",  "ISO-8859-13",  "ISO-8859-14",  "ISO-8859-15",  "KOI8-R",
        "KOI8-U",       "IBM437",       "IBM850",       "IBM866",
    };
    return names;
}

std::optional<std::string> listedCodePage(const std::string& name) {
    const QString asked = QString::fromStdString(name);
    if (asked.compare(QString::fromStdString(kFontSpecific), Qt::CaseInsensitive) == 0)
        return kFontSpecific;
    for (const std::string& known : codePageNames())
        if (QString::fromStdString(known).compare(asked, Qt::CaseInsensitive) == 0)
            return known;
    return std::nullopt;
}

CodePage loadCodePage(const std::string& name) {
    CodePage page;
    if (QString::fromStdString(name).compare(QString::fromStdString(kFontSpecific), Qt::CaseInsensitive) ==
        0) {
        page.name = kFontSpecific;
        for (std::size_t code = 0; code < page.characters.size(); ++code)
            page.characters[code] = static_cast<char32_t>(code);
        return page;
    }
    page.name = listedCodePage(name).value_or(name);
    // A name a file recorded goes into the XML declaration of an .lcd: Qt's "Locale" and "System", which
    // follow the machine, and names with blanks or quotes are none.
    const bool plain = std::all_of(name.begin(), name.end(), [](char ch) {
        return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
               ch == '-' || ch == '_' || ch == '.' || ch == ':';
    });
    const QString asked = QString::fromStdString(name);
    const bool machine = asked.compare("Locale", Qt::CaseInsensitive) == 0 ||
                         asked.compare("System", Qt::CaseInsensitive) == 0;
    QStringDecoder decoder(plain && !machine ? page.name.c_str() : "", QStringConverter::Flag::Stateless);
    QByteArray bytes(256, '\0');
    for (int code = 0; code < 256; ++code)
        bytes[code] = static_cast<char>(code);
    const QString text = decoder.isValid() ? decoder.decode(bytes) : QString();
    const QList<uint> characters = text.toUcs4();
    // One character a byte, and ASCII where ASCII is: the texts and names around a font stay readable.
    bool eightBit =
        characters.size() == 256 && !QString::fromStdString(page.name).startsWith("UTF", Qt::CaseInsensitive);
    for (int code = 0x20; eightBit && code < 0x7F; ++code)
        eightBit = characters[code] == static_cast<uint>(code);
    if (!eightBit)
        throw Error("'" + name +
                    "' is no 8-bit code page known here; the code pages are listed by: "
                    "tesselor font-from-system --help");
    for (std::size_t code = 0; code < page.characters.size(); ++code)
        page.characters[code] = characters[static_cast<qsizetype>(code)];
    return page;
}

CodePage codePageOf(const FontModel& font) {
    return loadCodePage(font.CodePage.empty() ? kDefaultCodePage : font.CodePage);
}

BdfCodes bdfCodes(const BdfFile& bdf, const std::optional<std::string>& asked) {
    const std::optional<CodePage> page = asked ? std::optional(loadCodePage(*asked)) : std::nullopt;
    if (bdf.unicode()) {
        const CodePage to = page.value_or(loadCodePage(kDefaultCodePage));
        return {[to](long encoding) { return to.codeOf(static_cast<char32_t>(encoding)); }, to.name};
    }
    std::optional<CodePage> charset;
    try {
        charset = loadCodePage(bdfCharsetName(bdf.registry, bdf.encoding));
    } catch (const Error&) {
    }
    if (charset && page)
        return {[from = *charset, to = *page](long encoding) -> std::optional<int> {
                    if (encoding > 255)
                        return std::nullopt;
                    return to.codeOf(from.characters[static_cast<std::size_t>(encoding)]);
                },
                page->name};
    return {[](long encoding) {
                return encoding <= 255 ? std::optional(static_cast<int>(encoding)) : std::nullopt;
            },
            page      ? page->name
            : charset ? charset->name
                      : kFontSpecific};
}

CodePage codePageOrDefault(const FontModel& font) {
    try {
        return codePageOf(font);
    } catch (const Error&) {
        return loadCodePage(kDefaultCodePage);
    }
}

QString characterOf(const CodePage& page, int code) {
    const char32_t character = page.characters[static_cast<std::size_t>(code & 0xFF)];
    return QString::fromUcs4(&character, 1);
}

std::vector<int> codesOf(const QString& text, const CodePage& page) {
    std::vector<int> codes;
    for (const uint character : text.toUcs4())
        codes.push_back(page.codeOf(character).value_or(-1));
    return codes;
}

} // namespace tesselor
