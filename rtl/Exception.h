// The one exception family of the system. Everything the engine raises derives from
// Exception and carries a message; Execute catches this family and nothing else, so
// std::bad_alloc and friends pass through to the host.
#pragma once

#include <exception>
#include <string>

namespace mlt {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }

    std::string Message;
    int HelpContext = 0;
};

// A value that cannot be converted (variant kinds, numbers in text).
class EConvertError : public Exception {
    using Exception::Exception;
};

// A file that cannot be created, opened, written or flushed.
class EInOutError : public Exception {
    using Exception::Exception;
};

// TPersistent::Assign between objects of unrelated classes.
class EAssignError : public Exception {
    using Exception::Exception;
};

// Dataset-layer failures: missing field, closed dataset, bad bookmark.
class EDatabaseError : public Exception {
    using Exception::Exception;
};

}  // namespace mlt
