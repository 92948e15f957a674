#include "rtl/Host.h"

#include <cstdio>

namespace mlt {

namespace {
THost MakeDefaultHost() {
    THost host;
    host.MessageBox = [](const std::string& text, TMessageKind) { std::fprintf(stderr, "%s\n", text.c_str()); };
    host.SetWaitCursor = [](bool) {};
    return host;
}
}  // namespace

THost& Host() {
    static THost host = MakeDefaultHost();
    return host;
}

}  // namespace mlt
