// The CSV reader and record source over a file of arbitrary bytes: every record can be
// read, or the file is refused with an Exception.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/CsvReader.h"
#include "data/CsvRecordSource.h"
#include "rtl/Exception.h"

namespace {

// The input lives in an anonymous memory file, opened by path through /proc, so that no
// file is left behind in the temporary folder however the process ends.
int InputFile() {
    static const int fd = memfd_create("mlt_csv_fuzz", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    return fd;
}

const std::string& InputPath() {
    static const std::string path = "/proc/self/fd/" + std::to_string(InputFile());
    return path;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
    const int fd = InputFile();
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteInput(data, size);
    try {
        mlt::TCsvReader reader(InputPath());
        std::vector<std::string> fields;
        std::size_t bytes = 0;
        while (reader.ReadRecord(fields)) {
            for (const auto& field : fields) bytes += field.size();
            if (bytes > size || reader.Offset() > static_cast<std::int64_t>(size)) std::abort();
        }
    } catch (const mlt::Exception&) {
    }
    try {
        mlt::TCsvRecordSource source(InputPath(), {size % 2 == 0, {}});
        std::vector<mlt::Variant> values;
        int records = 0;
        for (source.First(); !source.Eof(); source.Next()) {
            source.ReadRow(values);
            if (values.size() != source.Columns().size()) std::abort();
            ++records;
        }
        if (records != source.RecordCount()) std::abort();
    } catch (const mlt::Exception&) {
    }
    return 0;
}
