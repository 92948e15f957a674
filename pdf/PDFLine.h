// TPDFLine: builds one line of PDF text in a buffer that is reused line after line:
// plain text, integers and literal strings. Numbers are formatted with std::to_chars, so
// a line allocates only while the longest line seen so far grows. Start() empties it.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace mlt {

class TPDFLine {
public:
    TPDFLine& Start() {
        text_.clear();
        return *this;
    }
    TPDFLine& Add(std::string_view text) {
        text_.append(text);
        return *this;
    }
    TPDFLine& Add(std::int64_t number) {
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        text_.append(digits, end);
        return *this;
    }
    // The bytes as the contents of a literal string: every backslash and parenthesis is
    // preceded by a backslash; everything else, bytes above 127 included, is kept.
    TPDFLine& AddLiteral(std::string_view bytes) {
        std::size_t from = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            char c = bytes[i];
            if (c == '\\' || c == '(' || c == ')') {
                text_.append(bytes.substr(from, i - from)).push_back('\\');
                from = i;
            }
        }
        text_.append(bytes.substr(from));
        return *this;
    }

    std::string_view View() const { return text_; }

private:
    std::string text_;
};

}  // namespace mlt
