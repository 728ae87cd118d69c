// Checks on XML property lists: a small scanner that follows the element structure the way a
// property list allows it (values in arrays, key/value pairs in dictionaries), limits nesting,
// refuses document type subsets and unknown entities, and reads integers and reals strictly.

#include "property_list_guard.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace cf::plist {
namespace {

enum class Element { Plist, Dict, Array, Key, String, Integer, Real, Data, True, False };

struct Frame {
    Element element;
    bool expectKey = true; // dictionaries: the next child must be a key
    unsigned values = 0;   // plist: values seen
    std::string text;      // numbers and data: the text, to check at the close; keys: decoded
    std::unordered_set<std::string> keys; // dictionaries: the keys so far
};

bool elementNamed(std::string_view name, Element& e) {
    static constexpr struct {
        std::string_view name;
        Element element;
    } kElements[] = {
        {"plist", Element::Plist}, {"dict", Element::Dict},     {"array", Element::Array},
        {"key", Element::Key},     {"string", Element::String}, {"integer", Element::Integer},
        {"real", Element::Real},   {"data", Element::Data},     {"true", Element::True},
        {"false", Element::False},
    };
    for (const auto& k : kElements) {
        if (k.name == name) {
            e = k.element;
            return true;
        }
    }
    return false;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool validInteger(std::string_view s) {
    s = trimmed(s);
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) {
        return false;
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (s.size() > 1 && s[0] == '0') {
        return false; // a leading zero reads as octal to some readers and decimal to others
    }
    uint64_t v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return false;
        }
        if (v > (UINT64_MAX - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) {
            return false;
        }
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    return negative ? v <= uint64_t{INT64_MAX} + 1 : v <= uint64_t{INT64_MAX};
}

bool validReal(std::string_view s) {
    const std::string text(trimmed(s));
    if (text.empty() || text.find_first_of("xX") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

// The character that the digits of "&#...;" name, written as XML 1.0 writes them ("65" or
// "x41", digits only), or 0 unless it is one a document may hold: never U+0000 (which
// libplist would let through to an asserting getter), other C0 controls than tab and line
// ends, surrogates, U+FFFE or U+FFFF. libplist alone would also take "+65", " 65" and "X41",
// which strict readers refuse.
unsigned long characterReference(std::string_view digits) {
    const bool hex = digits.starts_with('x');
    if (hex) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > 8) {
        return 0;
    }
    unsigned long c = 0;
    for (char d : digits) {
        const int value = d >= '0' && d <= '9'          ? d - '0'
                          : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                          : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                        : -1;
        if (value < 0) {
            return 0;
        }
        c = c * (hex ? 16 : 10) + static_cast<unsigned long>(value);
    }
    if (c < 0x20) {
        return c == '\t' || c == '\n' || c == '\r' ? c : 0;
    }
    const bool holdable =
        c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFE && c != 0xFFFF;
    return holdable ? c : 0;
}

void appendUTF8(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool validBase64(std::string_view s) {
    for (char c : s) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=' ||
              isSpace(c))) {
            return false;
        }
    }
    return true;
}

class XMLCheck {
public:
    XMLCheck(const uint8_t* bytes, size_t length)
        : s_(reinterpret_cast<const char*>(bytes), length) {}

    std::string run() {
        for (char c : s_) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
                return "a control character, which XML cannot hold";
            }
        }
        size_t at = 0;
        while (at < s_.size()) {
            if (s_[at] != '<') {
                const size_t next = std::min(s_.find('<', at), s_.size());
                if (std::string why = text(s_.substr(at, next - at)); !why.empty()) {
                    return why;
                }
                at = next;
                continue;
            }
            std::string why;
            if (s_.compare(at, 4, "<!--") == 0) {
                why = skipPast(at, "-->");
            } else if (s_.compare(at, 9, "<![CDATA[") == 0) {
                const size_t start = at + 9;
                why = skipPast(at, "]]>");
                if (why.empty()) {
                    why = cdata(s_.substr(start, at - 3 - start));
                }
            } else if (s_.compare(at, 2, "<?") == 0) {
                why = skipPast(at, "?>");
            } else if (s_.compare(at, 2, "<!") == 0) {
                const size_t end = s_.find('>', at);
                if (end == std::string_view::npos) {
                    return "truncated";
                }
                if (s_.substr(at, end - at).find('[') != std::string_view::npos) {
                    return "document type subsets are not accepted";
                }
                at = end + 1;
            } else {
                why = tag(at);
            }
            if (!why.empty()) {
                return why;
            }
        }
        if (!stack_.empty()) {
            return "truncated";
        }
        if (!sawValue_) {
            return "no value";
        }
        return {};
    }

private:
    std::string skipPast(size_t& at, std::string_view end) {
        const size_t found = s_.find(end, at);
        if (found == std::string_view::npos) {
            return "truncated";
        }
        at = found + end.size();
        return {};
    }

    bool holdsText() const {
        if (stack_.empty()) {
            return false;
        }
        const Element e = stack_.back().element;
        return e == Element::Key || e == Element::String || e == Element::Integer ||
               e == Element::Real || e == Element::Data;
    }

    std::string cdata(std::string_view content) {
        if (!holdsText()) {
            return trimmed(content).empty() ? "" : "text outside a value";
        }
        stack_.back().text += content;
        return {};
    }

    std::string text(std::string_view content) {
        if (!holdsText()) {
            return trimmed(content).empty() ? "" : "text outside a value";
        }
        // Entities: the five predefined ones and character references only. A key's text is
        // kept decoded, so that two spellings of one key are seen to be the same.
        Frame& f = stack_.back();
        const bool key = f.element == Element::Key;
        size_t copied = 0;
        for (size_t i = content.find('&'); i != std::string_view::npos;
             i = content.find('&', i + 1)) {
            const size_t end = content.find(';', i);
            if (end == std::string_view::npos || end - i > 12) {
                return "bad entity";
            }
            const std::string_view name = content.substr(i + 1, end - i - 1);
            unsigned long c = 0;
            if (name == "lt" || name == "gt" || name == "amp" || name == "quot" || name == "apos") {
                c = name == "lt"     ? '<'
                    : name == "gt"   ? '>'
                    : name == "amp"  ? '&'
                    : name == "quot" ? '"'
                                     : '\'';
            } else if (name.size() < 2 || name[0] != '#') {
                return "unknown entity";
            } else if ((c = characterReference(name.substr(1))) == 0) {
                return "bad character reference";
            }
            if (key) {
                f.text += content.substr(copied, i - copied);
                appendUTF8(f.text, c);
                copied = end + 1;
            }
        }
        f.text += key ? content.substr(copied) : content;
        return {};
    }

    // A value (or key) begins inside the innermost frame.
    std::string beginChild(Element e) {
        if (stack_.empty()) {
            if (e == Element::Plist) {
                if (sawPlist_ || sawValue_) {
                    return "more than one top-level value";
                }
                sawPlist_ = true;
                return {};
            }
            if (sawValue_) {
                return "more than one top-level value";
            }
            sawValue_ = true;
            return {};
        }
        Frame& parent = stack_.back();
        switch (parent.element) {
        case Element::Plist:
            if (e == Element::Key || e == Element::Plist || parent.values++ > 0) {
                return "a plist holds one value";
            }
            sawValue_ = true;
            return {};
        case Element::Array:
            return e == Element::Key || e == Element::Plist ? "misplaced element" : "";
        case Element::Dict:
            if ((e == Element::Key) != parent.expectKey || e == Element::Plist) {
                return "a dictionary holds key and value pairs";
            }
            parent.expectKey = !parent.expectKey;
            return {};
        default:
            return "element inside a value";
        }
    }

    std::string open(Element e, bool empty) {
        if (std::string why = beginChild(e); !why.empty()) {
            return why;
        }
        if (empty) {
            if (e == Element::Integer || e == Element::Real) {
                return "empty number";
            }
            if (e == Element::Key && !stack_.back().keys.insert("").second) {
                return "a dictionary that holds one key twice";
            }
            return {};
        }
        if (e == Element::Dict || e == Element::Array) {
            if (++containers_ > kMaximumNesting) {
                return "nested too deeply";
            }
        }
        stack_.push_back(Frame{e, true, 0, {}, {}});
        return {};
    }

    std::string close(Element e) {
        if (stack_.empty() || stack_.back().element != e) {
            return "mismatched closing tag";
        }
        const Frame& f = stack_.back();
        if (e == Element::Integer && !validInteger(f.text)) {
            return "bad integer";
        }
        if (e == Element::Real && !validReal(f.text)) {
            return "bad real";
        }
        if (e == Element::Data && !validBase64(f.text)) {
            return "bad data";
        }
        if (e == Element::Key && stack_.size() >= 2 &&
            !stack_[stack_.size() - 2].keys.insert(f.text).second) {
            return "a dictionary that holds one key twice";
        }
        if (e == Element::Dict && !f.expectKey) {
            return "a key without a value";
        }
        if (e == Element::Plist && f.values != 1) {
            return "a plist holds one value";
        }
        if (e == Element::Dict || e == Element::Array) {
            --containers_;
        }
        stack_.pop_back();
        return {};
    }

    std::string tag(size_t& at) {
        const size_t end = s_.find('>', at);
        if (end == std::string_view::npos) {
            return "truncated";
        }
        std::string_view inside = s_.substr(at + 1, end - at - 1);
        at = end + 1;
        const bool closing = inside.starts_with("/");
        if (closing) {
            inside.remove_prefix(1);
        }
        const bool empty = inside.ends_with("/");
        if (empty) {
            inside.remove_suffix(1);
        }
        const size_t nameEnd = std::min(inside.find_first_of(" \t\r\n"), inside.size());
        Element e;
        if (!elementNamed(inside.substr(0, nameEnd), e)) {
            return inside.substr(0, nameEnd) == "date" ? "dates are not supported"
                                                       : "unknown element";
        }
        if (closing) {
            return empty ? "bad tag" : close(e);
        }
        return open(e, empty);
    }

    std::string_view s_;
    std::vector<Frame> stack_;
    unsigned containers_ = 0;
    bool sawValue_ = false;
    bool sawPlist_ = false;
};

} // namespace

std::string checkXML(const uint8_t* bytes, size_t length) {
    return XMLCheck(bytes, length).run();
}

} // namespace cf::plist
