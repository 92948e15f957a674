// The PDF writer over a small text dataset whose cell texts, column widths, captions,
// fonts, colours and page size come from the input. Every document it finishes must
// pass the structural check; an Exception is a valid outcome.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "component/ExportRecipe.h"
#include "rtl/Exception.h"
#include "tests/support/PdfStructure.h"
#include "tests/support/TestData.h"

namespace {

const char* const FontNames[] = {"Arial", "Courier New", "Times New Roman", "Wingdings", "arial black"};

void SetFont(FuzzedDataProvider& input, mlt::TFont& font) {
    font.Name = input.ConsumeBool() ? FontNames[input.ConsumeIntegralInRange<std::size_t>(0, 4)]
                                    : input.ConsumeRandomLengthString(16);
    font.Size = input.ConsumeIntegralInRange(-8, 400);
    font.Style = input.ConsumeIntegral<std::uint8_t>();
    font.Color = input.ConsumeIntegral<std::int32_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int columns = input.ConsumeIntegralInRange(1, 5);
    const int rows = input.ConsumeIntegralInRange(0, 40);

    mlt::TMarrowlintideSettings settings;
    settings.ApplyDefaults();
    settings.OddColor = input.ConsumeIntegral<std::int32_t>();
    settings.EvenColor = input.ConsumeIntegral<std::int32_t>();
    settings.CaptionColor = input.ConsumeIntegral<std::int32_t>();
    settings.ShowCaption = input.ConsumeBool();
    settings.SetPageSize(input.ConsumeIntegralInRange(-100, 20000), input.ConsumeIntegralInRange(-100, 20000));
    settings.FieldsWidth = input.ConsumeRandomLengthString(40);
    settings.FieldsCaption = input.ConsumeRandomLengthString(40);
    settings.FieldsAlignment = input.ConsumeRandomLengthString(12);

    std::vector<mlt::TColumnDescriptor> descriptors;
    for (int c = 0; c < columns; ++c)
        descriptors.push_back(mlt::test::TextColumn("C" + std::to_string(c), input.ConsumeIntegralInRange(0, 300)));
    std::vector<std::vector<mlt::Variant>> records(static_cast<std::size_t>(rows));
    for (auto& record : records)
        for (int c = 0; c < columns; ++c) record.push_back(mlt::Variant::String(input.ConsumeRandomLengthString(60)));
    auto dataSet = mlt::test::MakeDataSet(std::move(descriptors), std::move(records));

    auto exporter = mlt::CreateReportWriter(mlt::TReportDescription(settings), *dataSet);
    for (int c = 0; c < exporter->Columns.Count(); ++c) {
        SetFont(input, exporter->Columns.Items(c).Font);
        SetFont(input, exporter->Columns.Items(c).Title.Font);
    }
    mlt::TMemoryStream stream;
    try {
        exporter->ExportToStream(&stream);
    } catch (const mlt::Exception&) {
        return 0;
    }
    const std::string fault = mlt::test::CheckPdfStructure(stream.Memory());
    if (!fault.empty()) {
        std::fprintf(stderr, "unsound document: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
