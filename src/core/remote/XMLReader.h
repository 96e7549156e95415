#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

// A text value collected from one element. Records hold the value itself, not a copy, so text
// that arrives after an element has ended still lands in the value it stored.
using XMLText = std::shared_ptr<std::string>;
// One record: child element name to its text.
using XMLRecord = std::map<std::string, XMLText>;

struct XMLParseError {
    std::string message;
    unsigned long line = 0;
    unsigned long column = 0;
};

// Reads an XML document into a list of records, one per element named `rootName`. Element names
// are compared as written, prefix included. No external entity is ever read: a document that
// needs one does not parse, and neither does one whose entities expand without bound.
class XMLReader {
public:
    std::string rootName;
    std::optional<std::deque<XMLRecord>> List;
    XMLRecord* currentEarthquakeObject = nullptr;
    XMLText contentOfCurrentEarthquakeProperty;

    // The records, or none. When the document does not parse and `parseError` is given, the
    // error is stored there and the answer is none; without it, the records read before the
    // failure are answered.
    const std::deque<XMLRecord>* parseXMLWithData(std::string_view data,
                                                  XMLParseError* parseError = nullptr);

    void didStartElement(const std::string& name);
    void didEndElement(const std::string& name);
    void foundCharacters(std::string_view text);
};

// The text stored under a key of a record, or none.
std::optional<std::string> recordValue(const XMLRecord& record, const std::string& key);

} // namespace sentravex
