#include "printout/pdf_text_maps.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFTokenizer.hh>
#include <qpdf/QPDFWriter.hh>
#include <set>
#include <string>
#include <vector>

namespace cubrix {
namespace {

struct Equivalent {
    char32_t first;
    char32_t last;
    char32_t ideograph;
};

// Made at build time from Unicode's EquivalentUnifiedIdeograph.txt, in the
// order of the characters.
constexpr Equivalent kEquivalents[] = {
#include "printout/equivalent_ideographs.inc"
};

// A ToUnicode map holds at most 100 entries in one section.
constexpr std::size_t kEntriesPerSection = 100;
constexpr char32_t kMaxCodeInRange = 0xFFFF;

using Token = QPDFTokenizer::Token;

// One code of the font and the text that it reads back as.
struct Entry {
    std::string code;
    std::u32string text;
};

std::u32string fromUtf16Be(const std::string& bytes) {
    std::u32string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit =
            (static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = (static_cast<unsigned char>(bytes[i + 2]) << 8) |
                                 static_cast<unsigned char>(bytes[i + 3]);
            text += 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else {
            text += unit;
        }
    }
    return text;
}

std::string toUtf16Be(const std::u32string& text) {
    std::string bytes;
    auto unit = [&bytes](char32_t u) {
        bytes += static_cast<char>(u >> 8);
        bytes += static_cast<char>(u & 0xFF);
    };
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return bytes;
}

std::string hexString(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex = "<";
    for (const char b : bytes) {
        hex += kDigits[static_cast<unsigned char>(b) >> 4];
        hex += kDigits[static_cast<unsigned char>(b) & 0xF];
    }
    return hex + ">";
}

std::size_t codeValue(const std::string& bytes) {
    std::size_t value = 0;
    for (const char b : bytes) value = (value << 8) | static_cast<unsigned char>(b);
    return value;
}

std::string codeBytes(std::size_t value, std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t i = length; i-- > 0; value >>= 8) bytes[i] = static_cast<char>(value & 0xFF);
    return bytes;
}

bool ignorable(const Token& t) {
    return t.getType() == QPDFTokenizer::tt_space || t.getType() == QPDFTokenizer::tt_comment;
}

// The map's tokens as qpdf reads them, blanks and comments kept so that the
// parts around the mapping sections are written back as they were.
std::optional<std::vector<Token>> tokensOf(const std::string& cmap) {
    auto input = std::make_shared<BufferInputSource>("ToUnicode", cmap);
    QPDFTokenizer tokenizer;
    tokenizer.allowEOF();
    tokenizer.includeIgnorable();
    std::vector<Token> tokens;
    for (;;) {
        Token t = tokenizer.readToken(input, "ToUnicode", true);
        if (t.getType() == QPDFTokenizer::tt_eof) return tokens;
        if (t.getType() == QPDFTokenizer::tt_bad) return std::nullopt;
        tokens.push_back(std::move(t));
    }
}

// Reads the mapping sections (bfchar and bfrange) of a ToUnicode map into
// single entries; `first` and `last` are the token positions of the first
// section's count and of the last section's end.
struct Sections {
    std::vector<Entry> entries;
    std::size_t first = 0;
    std::size_t last = 0;
};

std::optional<Sections> sectionsOf(const std::vector<Token>& tokens) {
    std::vector<std::size_t> at;  // the positions of the tokens that count
    for (std::size_t i = 0; i < tokens.size(); ++i)
        if (!ignorable(tokens[i])) at.push_back(i);
    Sections s;
    bool seen = false;
    bool ended = false;  // something else came after a section
    for (std::size_t k = 0; k < at.size(); ++k) {
        const Token& t = tokens[at[k]];
        const bool chars = t.isWord("beginbfchar");
        const bool ranges = t.isWord("beginbfrange");
        if (!chars && !ranges) {
            // The count that opens the next section belongs to it.
            const bool count = t.getType() == QPDFTokenizer::tt_integer && k + 1 < at.size() &&
                               (tokens[at[k + 1]].isWord("beginbfchar") ||
                                tokens[at[k + 1]].isWord("beginbfrange"));
            if (seen && !count) ended = true;
            continue;
        }
        if (ended || k == 0 || tokens[at[k - 1]].getType() != QPDFTokenizer::tt_integer)
            return std::nullopt;
        if (!seen) s.first = at[k - 1];
        seen = true;
        const char* end = chars ? "endbfchar" : "endbfrange";
        auto next = [&]() -> const Token* { return ++k < at.size() ? &tokens[at[k]] : nullptr; };
        auto isString = [](const Token* x) {
            return x && x->getType() == QPDFTokenizer::tt_string;
        };
        for (const Token* code = next();; code = next()) {
            if (code && code->isWord(end)) break;
            if (!isString(code)) return std::nullopt;
            if (chars) {
                const Token* text = next();
                if (!isString(text)) return std::nullopt;
                s.entries.push_back({code->getValue(), fromUtf16Be(text->getValue())});
                continue;
            }
            const Token* high = next();
            if (!isString(high) || high->getValue().size() != code->getValue().size())
                return std::nullopt;
            const std::size_t low = codeValue(code->getValue());
            const std::size_t count = codeValue(high->getValue()) - low + 1;
            if (codeValue(high->getValue()) < low || count > kMaxCodeInRange) return std::nullopt;
            const std::size_t length = code->getValue().size();
            const Token* target = next();
            if (target && target->getType() == QPDFTokenizer::tt_array_open) {
                for (std::size_t i = 0; i < count; ++i) {
                    const Token* text = next();
                    if (!isString(text)) return std::nullopt;
                    s.entries.push_back(
                        {codeBytes(low + i, length), fromUtf16Be(text->getValue())});
                }
                const Token* close = next();
                if (!close || close->getType() != QPDFTokenizer::tt_array_close)
                    return std::nullopt;
            } else if (isString(target) && !target->getValue().empty()) {
                // Each further code adds one to the last byte of the text.
                std::string text = target->getValue();
                for (std::size_t i = 0; i < count; ++i) {
                    s.entries.push_back({codeBytes(low + i, length), fromUtf16Be(text)});
                    text.back() = static_cast<char>(text.back() + 1);
                }
            } else {
                return std::nullopt;
            }
        }
        s.last = at[k];
    }
    if (!seen) return std::nullopt;
    return s;
}

// The map written again with every radical sent to its ideograph; nothing
// when no entry changes or the map is not one this can read.
std::optional<std::string> mendedMap(const std::string& cmap) {
    const auto tokens = tokensOf(cmap);
    if (!tokens) return std::nullopt;
    auto sections = sectionsOf(*tokens);
    if (!sections) return std::nullopt;
    bool changed = false;
    for (Entry& e : sections->entries)
        for (char32_t& c : e.text) {
            const char32_t ideograph = unifiedIdeograph(c);
            changed |= ideograph != c;
            c = ideograph;
        }
    if (!changed) return std::nullopt;

    std::string mended;
    for (std::size_t i = 0; i < sections->first; ++i) mended += (*tokens)[i].getRawValue();
    const auto& entries = sections->entries;
    for (std::size_t from = 0; from < entries.size(); from += kEntriesPerSection) {
        const std::size_t to = std::min(entries.size(), from + kEntriesPerSection);
        mended += std::to_string(to - from) + " beginbfchar\n";
        for (std::size_t i = from; i < to; ++i)
            mended +=
                hexString(entries[i].code) + " " + hexString(toUtf16Be(entries[i].text)) + "\n";
        mended += "endbfchar\n";
    }
    for (std::size_t i = sections->last + 1; i < tokens->size(); ++i)
        mended += (*tokens)[i].getRawValue();
    return mended;
}

}  // namespace

char32_t unifiedIdeograph(char32_t c) {
    const auto* row =
        std::upper_bound(std::begin(kEquivalents), std::end(kEquivalents), c,
                         [](char32_t value, const Equivalent& e) { return value < e.first; });
    if (row == std::begin(kEquivalents)) return c;
    --row;
    return c <= row->last ? row->ideograph : c;
}

QByteArray withIdeographText(const QByteArray& pdf) {
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("page", pdf.constData(), static_cast<std::size_t>(pdf.size()));
        std::set<QPDFObjGen> seen;
        bool changed = false;
        for (QPDFObjectHandle& font : document.getAllObjects()) {
            if (!font.isDictionary() || !font.hasKey("/ToUnicode")) continue;
            QPDFObjectHandle map = font.getKey("/ToUnicode");
            if (!map.isStream() || !seen.insert(map.getObjGen()).second) continue;
            const std::shared_ptr<Buffer> data = map.getStreamData();
            const std::string text(reinterpret_cast<const char*>(data->getBuffer()),
                                   data->getSize());
            if (const auto mended = mendedMap(text)) {
                map.replaceStreamData(*mended, QPDFObjectHandle::newNull(),
                                      QPDFObjectHandle::newNull());
                changed = true;
            }
        }
        if (!changed) return pdf;
        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(out->getBuffer()),
                          static_cast<qsizetype>(out->getSize()));
    } catch (const std::exception&) {
        return pdf;  // the page as Qt wrote it: right to the eye
    }
}

}  // namespace cubrix
