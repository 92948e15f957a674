// A structural check of the writer's documents: the cross-reference table points at the
// header line of each object it lists, every stream's /Length (direct or indirect)
// covers its data, and the strings of content streams and of the information
// dictionary close every parenthesis they open. Returns the first fault found, or empty
// text for a sound document. Stream data ends in CR LF; a /Length may count it whole or
// without its final LF, and "endstream" follows the counted bytes either way.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace mlt::test {

namespace pdfcheck {

inline bool ReadNumber(std::string_view text, std::size_t& at, std::int64_t& value) {
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 18)
        value = value * 10 + (text[at++] - '0');
    return at > start;
}

// Walks the strings of `text`; false when one is left open or a ")" closes nothing.
inline bool StringsBalanced(std::string_view text) {
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (depth > 0 && c == '\\') ++i;
        else if (c == '(') ++depth;
        else if (c == ')' && --depth < 0) return false;
    }
    return depth == 0;
}

}  // namespace pdfcheck

inline std::string CheckPdfStructure(std::string_view pdf) {
    using namespace pdfcheck;
    const std::size_t startxref = pdf.rfind("startxref\r\n");
    if (startxref == std::string_view::npos) return "no startxref";
    std::size_t at = startxref + 11;
    std::int64_t xref = 0;
    if (!ReadNumber(pdf, at, xref) || pdf.substr(at) != "\r\n%%EOF\r\n") return "bad startxref line";
    if (xref < 0 || static_cast<std::size_t>(xref) >= pdf.size() || pdf.substr(xref, 6) != "xref\r\n")
        return "startxref does not point at xref";
    at = static_cast<std::size_t>(xref) + 6;
    std::int64_t first = 0, count = 0;
    if (!ReadNumber(pdf, at, first) || pdf.substr(at, 1) != " " || !ReadNumber(pdf, ++at, count) ||
        pdf.substr(at, 2) != "\r\n" || first != 0)
        return "bad xref subsection line";
    at += 2;
    std::map<std::int64_t, std::size_t> offsets;
    for (std::int64_t n = 0; n < count; ++n, at += 20) {
        const std::string_view entry = pdf.substr(at, 20);
        if (entry.size() != 20 || entry.substr(10, 1) != " " || entry.substr(18) != "\r\n")
            return "bad xref entry of object " + std::to_string(n);
        if (n == 0) continue;
        std::size_t p = at;
        std::int64_t offset = 0;
        ReadNumber(pdf, p, offset);
        const std::string header = std::to_string(n) + " 0 obj\r\n";
        if (offset < 0 || static_cast<std::size_t>(offset) > pdf.size() || pdf.substr(offset, header.size()) != header ||
            (offset > 0 && pdf.substr(offset - 2, 2) != "\r\n"))
            return "xref entry of object " + std::to_string(n) + " misses its header";
        offsets[n] = static_cast<std::size_t>(offset);
    }
    if (pdf.substr(at, 9) != "trailer\r\n") return "no trailer after the xref table";

    for (const auto& [n, offset] : offsets) {
        const std::string name = std::to_string(n);
        const std::size_t end = pdf.find("\r\nendobj\r\n", offset);
        if (end == std::string_view::npos) return "object " + name + " has no endobj";
        const std::size_t stream = pdf.find("\r\nstream\r\n", offset);
        if (stream == std::string_view::npos || stream > end) {
            if (!StringsBalanced(pdf.substr(offset, end - offset))) return "unbalanced string in object " + name;
            continue;
        }
        // Cell text may hold "endobj" or "endstream", so the data is found by its length.
        const std::string_view dictionary = pdf.substr(offset, stream - offset);
        std::size_t key = dictionary.find("/Length ");
        if (key == std::string_view::npos) return "stream object " + name + " has no /Length";
        key += 8;
        std::int64_t length = 0;
        if (!ReadNumber(dictionary, key, length)) return "bad /Length in object " + name;
        if (dictionary.substr(key, 4) == " 0 R") {
            const auto target = offsets.find(length);
            if (target == offsets.end()) return "/Length of object " + name + " names no object";
            std::size_t p = target->second + std::to_string(length).size() + 8;
            if (!ReadNumber(pdf, p, length) || pdf.substr(p, 10) != "\r\nendobj\r\n")
                return "length object of " + name + " holds no number";
        }
        const std::size_t dataStart = stream + 10;
        const auto dataEnd = static_cast<std::size_t>(length) + dataStart;
        std::size_t tail = dataEnd;
        if (pdf.substr(tail, 1) == "\n") ++tail;
        else if (pdf.substr(tail, 2) == "\r\n") tail += 2;
        if (length < 0 || pdf.substr(tail, 19) != "endstream\r\nendobj\r\n")
            return "/Length " + std::to_string(length) + " of object " + name + " misses its endstream";
        if (!StringsBalanced(pdf.substr(dataStart, dataEnd - dataStart))) return "unbalanced string in stream " + name;
    }
    return {};
}

}  // namespace mlt::test
