#include "XMLReader.h"

#include <algorithm>
#include <array>
#include <expat.h>
#include <limits>

namespace sentravex {
namespace {

// The white space and line breaks trimmed from each piece of text, as UTF-8 sequences.
constexpr std::array<std::string_view, 25> kBlanks = {" ",
                                                      "\t",
                                                      "\n",
                                                      "\v",
                                                      "\f",
                                                      "\r",
                                                      "\xC2\x85",
                                                      "\xC2\xA0",
                                                      "\xE1\x9A\x80",
                                                      "\xE2\x80\x80",
                                                      "\xE2\x80\x81",
                                                      "\xE2\x80\x82",
                                                      "\xE2\x80\x83",
                                                      "\xE2\x80\x84",
                                                      "\xE2\x80\x85",
                                                      "\xE2\x80\x86",
                                                      "\xE2\x80\x87",
                                                      "\xE2\x80\x88",
                                                      "\xE2\x80\x89",
                                                      "\xE2\x80\x8A",
                                                      "\xE2\x80\xA8",
                                                      "\xE2\x80\xA9",
                                                      "\xE2\x80\xAF",
                                                      "\xE2\x81\x9F",
                                                      "\xE3\x80\x80"};

std::string_view trimmed(std::string_view s) {
    for (bool again = true; again;) {
        again = false;
        for (auto blank : kBlanks) {
            if (s.starts_with(blank)) {
                s.remove_prefix(blank.size());
                again = true;
            }
            if (s.ends_with(blank)) {
                s.remove_suffix(blank.size());
                again = true;
            }
        }
    }
    return s;
}

// Every handler gets the parser, so that a handler can stop it; the reader is its user data.
XMLReader& readerOf(void* parser) {
    return *static_cast<XMLReader*>(XML_GetUserData(static_cast<XML_Parser>(parser)));
}

void XMLCALL startElement(void* parser, const XML_Char* name, const XML_Char**) {
    readerOf(parser).didStartElement(name);
}

void XMLCALL endElement(void* parser, const XML_Char* name) {
    readerOf(parser).didEndElement(name);
}

void XMLCALL characters(void* parser, const XML_Char* text, int length) {
    readerOf(parser).foundCharacters({text, static_cast<std::size_t>(length)});
}

// A document served over plain HTTP must not make us read local files or remote URLs.
int XMLCALL refuseExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*,
                                 const XML_Char*) {
    return XML_STATUS_ERROR;
}

// An entity declared only in an external subset, which is never read.
void XMLCALL refuseSkippedEntity(void* parser, const XML_Char*, int) {
    XML_StopParser(static_cast<XML_Parser>(parser), XML_FALSE);
}

} // namespace

const std::deque<XMLRecord>* XMLReader::parseXMLWithData(std::string_view data,
                                                         XMLParseError* parseError) {
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                        XML_ParserFree);
    XML_Parser p = parser.get();
    XML_SetUserData(p, this);
    XML_SetElementHandler(p, startElement, endElement);
    XML_SetCharacterDataHandler(p, characters);
    XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetExternalEntityRefHandler(p, refuseExternalEntity);
    XML_SetSkippedEntityHandler(p, refuseSkippedEntity);
    XML_UseParserAsHandlerArg(p);
    // Expat's limits on entity amplification are on by default and stay on.

    // Fed whole: at each new slice expat scans an unfinished token again from its start, so a
    // long token cut into small slices costs the square of its length. Slices only where its int
    // length runs out.
    constexpr std::size_t kSlice = std::numeric_limits<int>::max();
    bool ok = true;
    std::size_t offset = 0;
    do {
        auto chunk = std::min(data.size() - offset, kSlice);
        bool last = offset + chunk == data.size();
        ok = XML_Parse(p, data.data() + offset, static_cast<int>(chunk), last) == XML_STATUS_OK;
        offset += chunk;
    } while (ok && offset < data.size());

    if (!ok && parseError) {
        *parseError = {XML_ErrorString(XML_GetErrorCode(p)), XML_GetCurrentLineNumber(p),
                       XML_GetCurrentColumnNumber(p)};
        return nullptr;
    }
    return List ? &*List : nullptr;
}

void XMLReader::didStartElement(const std::string& name) {
    if (name == rootName) {
        if (!List)
            List.emplace();
        currentEarthquakeObject = &List->emplace_back();
    } else {
        contentOfCurrentEarthquakeProperty = std::make_shared<std::string>();
    }
}

void XMLReader::didEndElement(const std::string& name) {
    if (currentEarthquakeObject && contentOfCurrentEarthquakeProperty)
        (*currentEarthquakeObject)[name] = contentOfCurrentEarthquakeProperty;
}

void XMLReader::foundCharacters(std::string_view text) {
    if (contentOfCurrentEarthquakeProperty)
        contentOfCurrentEarthquakeProperty->append(trimmed(text));
}

std::optional<std::string> recordValue(const XMLRecord& record, const std::string& key) {
    auto it = record.find(key);
    if (it == record.end() || !it->second)
        return std::nullopt;
    return *it->second;
}

} // namespace sentravex
