#include "PropertyList.h"

#include <algorithm>
#include <cstdint>
#include <expat.h>
#include <memory>
#include <vector>

namespace sentravex {
namespace {

// XML: <plist><dict><key>K</key><string>V</string>...</dict></plist>, read in one pass that stops
// at the answer.
class XmlSearch {
public:
    XmlSearch(XML_Parser parser, std::string_view key) : parser_(parser), key_(key) {}

    void start(std::string_view name) {
        ++depth_;
        if (depth_ == 1 && name != "plist")
            return finish();
        if (depth_ == 2 && !inDict_) {
            if (name != "dict")
                return finish();
            inDict_ = true;
        }
        if (depth_ != 3 || !inDict_)
            return;
        // A member of the top-level dictionary: a key, or the value after one.
        text_.clear();
        if (name == "key")
            reading_ = Reading::Key;
        else if (!keyMatched_)
            reading_ = Reading::Nothing;
        else if (name == "string")
            reading_ = Reading::Value;
        else
            return finish();
    }
    void end() {
        if (depth_ == 3 && inDict_) {
            if (reading_ == Reading::Value)
                return finish(std::move(text_));
            keyMatched_ = reading_ == Reading::Key && text_ == key_;
            reading_ = Reading::Nothing;
        }
        if (depth_ == 2 && inDict_)
            return finish(); // the dictionary ended without the key
        --depth_;
    }
    void characters(std::string_view text) {
        if (reading_ != Reading::Nothing && depth_ == 3)
            text_.append(text);
    }

    bool done() const { return done_; }
    std::optional<std::string> found;

private:
    enum class Reading { Nothing, Key, Value };

    void finish(std::optional<std::string> value = std::nullopt) {
        found = std::move(value);
        done_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

    XML_Parser parser_;
    std::string_view key_;
    int depth_ = 0;
    bool inDict_ = false;     // inside the top-level dictionary
    bool keyMatched_ = false; // the last key read is the one sought
    Reading reading_ = Reading::Nothing;
    bool done_ = false;
    std::string text_;
};

XmlSearch& searchOf(void* parser) {
    return *static_cast<XmlSearch*>(XML_GetUserData(static_cast<XML_Parser>(parser)));
}

void XMLCALL startElement(void* parser, const XML_Char* name, const XML_Char**) {
    searchOf(parser).start(name);
}

void XMLCALL endElement(void* parser, const XML_Char*) {
    searchOf(parser).end();
}

void XMLCALL characters(void* parser, const XML_Char* text, int length) {
    searchOf(parser).characters({text, static_cast<std::size_t>(length)});
}

int XMLCALL refuseExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*,
                                 const XML_Char*) {
    return XML_STATUS_ERROR;
}

void XMLCALL refuseSkippedEntity(void* parser, const XML_Char*, int) {
    XML_StopParser(static_cast<XML_Parser>(parser), XML_FALSE);
}

std::optional<std::string> xmlString(std::string_view document, std::string_view key) {
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> owned(XML_ParserCreate(nullptr),
                                                                       XML_ParserFree);
    XML_Parser p = owned.get();
    if (!p)
        return std::nullopt;
    XmlSearch search(p, key);
    XML_SetUserData(p, &search);
    XML_UseParserAsHandlerArg(p);
    XML_SetElementHandler(p, startElement, endElement);
    XML_SetCharacterDataHandler(p, characters);
    XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetExternalEntityRefHandler(p, refuseExternalEntity);
    XML_SetSkippedEntityHandler(p, refuseSkippedEntity);
    // Fed in slices: the parser takes an int length.
    std::size_t offset = 0;
    bool ok = true;
    do {
        const auto chunk = std::min<std::size_t>(document.size() - offset, 1 << 20);
        const bool last = offset + chunk == document.size();
        ok = XML_Parse(p, document.data() + offset, static_cast<int>(chunk), last) == XML_STATUS_OK;
        offset += chunk;
    } while (ok && offset < document.size());
    return search.done() ? std::move(search.found) : std::nullopt;
}

// Binary: objects, then a table of their offsets, then a 32-byte trailer that says where the
// table lies and which object is the top one. Every number read from the document is checked
// against its size before it is used.
class BinaryList {
public:
    explicit BinaryList(std::string_view document) : doc_(document) {}

    bool readTrailer() {
        if (doc_.size() < 8 + 32)
            return false;
        const std::size_t trailer = doc_.size() - 32;
        offsetSize_ = static_cast<unsigned char>(doc_[trailer + 6]);
        refSize_ = static_cast<unsigned char>(doc_[trailer + 7]);
        if (!isWidth(offsetSize_) || !isWidth(refSize_))
            return false;
        auto count = number(trailer + 8, 8);
        auto top = number(trailer + 16, 8);
        auto table = number(trailer + 24, 8);
        if (!count || !top || !table || *top >= *count || *table < 8 || *table > trailer ||
            *count > (trailer - *table) / offsetSize_)
            return false;
        objects_ = *count;
        top_ = *top;
        table_ = static_cast<std::size_t>(*table);
        end_ = table_;
        return true;
    }

    // The top-level dictionary's value under `key`, when it is a string.
    std::optional<std::string> topString(std::string_view key) const {
        auto dict = object(top_);
        if (!dict || dict->type != 0xD)
            return std::nullopt;
        const std::size_t refs = dict->count;
        if (refs > (end_ - dict->data) / (2 * refSize_))
            return std::nullopt;
        // Keys may all refer to one object: each is compared once at most.
        std::vector<bool> refused(static_cast<std::size_t>(objects_));
        for (std::size_t i = 0; i < refs; ++i) {
            auto keyRef = number(dict->data + i * refSize_, refSize_);
            if (!keyRef || *keyRef >= objects_ || refused[*keyRef])
                continue;
            if (isKey(*keyRef, key)) {
                auto valueRef = number(dict->data + (refs + i) * refSize_, refSize_);
                return valueRef ? string(*valueRef, end_) : std::nullopt;
            }
            refused[*keyRef] = true;
        }
        return std::nullopt;
    }

private:
    struct Object {
        unsigned type;     // the marker's high nibble
        std::size_t count; // bytes, characters or members
        std::size_t data;  // where the contents begin
    };

    static bool isWidth(std::size_t n) { return n == 1 || n == 2 || n == 4 || n == 8; }

    // A big-endian unsigned number of `width` bytes at `at`, inside the document.
    std::optional<std::uint64_t> number(std::size_t at, std::size_t width) const {
        if (at > doc_.size() || width > doc_.size() - at)
            return std::nullopt;
        std::uint64_t n = 0;
        for (std::size_t i = 0; i < width; ++i)
            n = (n << 8) | static_cast<unsigned char>(doc_[at + i]);
        return n;
    }

    std::optional<Object> object(std::uint64_t ref) const {
        if (ref >= objects_)
            return std::nullopt;
        auto at = number(table_ + static_cast<std::size_t>(ref) * offsetSize_, offsetSize_);
        if (!at || *at < 8 || *at >= end_)
            return std::nullopt;
        std::size_t pos = static_cast<std::size_t>(*at);
        const unsigned marker = static_cast<unsigned char>(doc_[pos++]);
        Object o{marker >> 4u, marker & 0xFu, pos};
        if (o.count == 0xF) {
            // The count follows as an integer object of 1, 2, 4 or 8 bytes.
            const auto intMarker = pos < end_ ? static_cast<unsigned char>(doc_[pos]) : 0u;
            if ((intMarker & 0xF0u) != 0x10 || (intMarker & 0xFu) > 3)
                return std::nullopt;
            const std::size_t width = std::size_t{1} << (intMarker & 0xFu);
            auto count = number(pos + 1, width);
            if (!count || *count > end_)
                return std::nullopt;
            o.count = static_cast<std::size_t>(*count);
            o.data = pos + 1 + width;
        }
        if (o.data > end_)
            return std::nullopt;
        return o;
    }

    // The bytes a string object holds, when they lie inside the objects and are at most `most`
    // characters long.
    std::optional<std::string> string(std::uint64_t ref, std::size_t most) const {
        auto s = object(ref);
        if (!s || (s->type != 0x5 && s->type != 0x6) || s->count > most)
            return std::nullopt;
        const std::size_t unit = s->type == 0x5 ? 1 : 2;
        if (s->count > (end_ - s->data) / unit)
            return std::nullopt;
        if (unit == 1)
            return std::string(doc_.substr(s->data, s->count));
        return utf8FromUtf16(doc_.substr(s->data, s->count * 2));
    }

    // Whether a key object spells `key`; a longer one is refused before it is read.
    bool isKey(std::uint64_t ref, std::string_view key) const {
        auto text = string(ref, key.size());
        return text && *text == key;
    }

    static std::optional<std::string> utf8FromUtf16(std::string_view bigEndian) {
        std::string out;
        auto unitAt = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(bigEndian[2 * i]) << 8 |
                                              static_cast<unsigned char>(bigEndian[2 * i + 1]));
        };
        const std::size_t units = bigEndian.size() / 2;
        for (std::size_t i = 0; i < units; ++i) {
            std::uint32_t c = unitAt(i);
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
                unitAt(i + 1) < 0xE000)
                c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(++i) - 0xDC00);
            else if (c >= 0xD800 && c < 0xE000)
                return std::nullopt; // a lone surrogate
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c < 0x800) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                out += static_cast<char>(0xE0 | (c >> 12));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (c >> 18));
                out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }

    std::string_view doc_;
    std::size_t offsetSize_ = 0;
    std::size_t refSize_ = 0;
    std::uint64_t objects_ = 0;
    std::uint64_t top_ = 0;
    std::size_t table_ = 0;
    std::size_t end_ = 0; // objects lie before the offset table
};

} // namespace

std::optional<std::string> propertyListString(std::string_view document, std::string_view key) {
    if (!document.starts_with("bplist00"))
        return xmlString(document, key);
    BinaryList list(document);
    if (!list.readTrailer())
        return std::nullopt;
    return list.topString(key);
}

} // namespace sentravex
