// The CSV reader and record source over a file of arbitrary bytes: every record can be
// read, or the file is refused with an Exception.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/CsvReader.h"
#include "data/CsvRecordSource.h"
#include "rtl/Exception.h"

namespace {

const std::string& InputPath() {
    static const std::string path = "/tmp/mlt_csv_fuzz_" + std::to_string(getpid()) + ".csv";
    return path;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
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
