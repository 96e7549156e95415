#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sentravex {

// The string under a key of a property list's top-level dictionary, in UTF-8. The list is an XML
// one or a binary one ("bplist00"). None when the key is absent, holds something other than a
// string, or the document is malformed. The document is anyone's to write: no entity is read
// from outside it, no offset in it is trusted, and the work stays linear in its size.
std::optional<std::string> propertyListString(std::string_view document, std::string_view key);

} // namespace sentravex
