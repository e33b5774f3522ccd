// batch_fuzz: the command line's --batch processing on arbitrary bytes, called
// in-process as vintrel-calc calls it on standard input.
//
// Whatever the bytes, the output must be well-formed CSV: a header, then one
// row for every input record (an optional header record aside) in input order,
// each with the record's six inputs, a status, a message and nine texts that
// fit the status: an error for a malformed record, the convergence message and
// no texts without convergence, the window's texts otherwise. The exit status
// says whether any row gave no figures.

#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calculation.h"
#include "csv.h"
#include "fuzz_check.h"
#include "reports.h"

namespace {

// Columns of an output row: six inputs, status, message, nine texts.
constexpr std::size_t kStatusColumn = kInputCount;
constexpr std::size_t kMessageColumn = kInputCount + 1;
constexpr std::size_t kFirstTextColumn = kInputCount + 2;
constexpr std::size_t kOutputColumns = kFirstTextColumn + kResultFieldCount;

// Columns, counted from the first text, of the two distances over the wires at
// hand, which come last in the listing order.
constexpr std::size_t kFirstActualWireText = kResultFieldCount - 2;

// A header record names the pitch diameter in its first field, spelt in any
// case, with or without blanks, underscores or hyphens.
bool IsHeader(const CsvRecord& record)
{
    if (!record.error.empty() || record.fields.empty())
        return false;
    std::string name;
    for (const char c : record.fields.front())
        if (c != ' ' && c != '_' && c != '-')
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name == "pitchdiameter";
}

// A result text: -?[0-9]+\.[0-9]{6} followed by one of the three unit suffixes.
bool IsResultText(std::string_view text)
{
    for (const std::string_view suffix : {" in.", "in.", " deg."}) {
        if (!text.ends_with(suffix))
            continue;
        std::string_view number = text.substr(0, text.size() - suffix.size());
        if (number.starts_with('-'))
            number.remove_prefix(1);
        const std::size_t point = number.find('.');
        if (point != 0 && point != std::string_view::npos && number.size() - point - 1 == 6 &&
            number.find_first_not_of("0123456789.") == std::string_view::npos &&
            number.find('.', point + 1) == std::string_view::npos)
            return true;
    }
    return false;
}

void CheckRow(std::string_view input, const CsvRecord& record, const std::vector<std::string>& row)
{
    const std::string where = "row of input line " + std::to_string(record.line);
    if (row.size() != kOutputColumns)
        fuzz::Fail(input, where + ": every output row has 17 columns", "17", std::to_string(row.size()));
    const std::string& status = row[kStatusColumn];
    const std::string& message = row[kMessageColumn];
    const bool malformed = !record.error.empty() || record.fields.size() != kInputCount;

    if (malformed) {
        if (status != "error" || !message.starts_with("line " + std::to_string(record.line) + ": "))
            fuzz::Fail(input, where + ": a malformed record gets an error naming its line", "error",
                       status + " / " + message);
    } else {
        for (std::size_t i = 0; i < kInputCount; ++i)
            if (row[i] != record.fields[i])
                fuzz::Fail(input, where + ": the inputs come back as read", record.fields[i], row[i]);
    }

    std::size_t texts = 0;
    for (std::size_t i = 0; i < kResultFieldCount; ++i) {
        const std::string& text = row[kFirstTextColumn + i];
        if (text.empty())
            continue;
        ++texts;
        if (!IsResultText(text))
            fuzz::Fail(input, where + ": a result text", "-?[0-9]+.[0-9]{6} and a unit", text);
    }
    if (status == "converged") {
        if (message != "" && message != kHighResidualMessage)
            fuzz::Fail(input, where + ": a converged row's message", "none or the residual warning", message);
        const bool actualWire = !row[kFirstTextColumn + kFirstActualWireText].empty();
        if (texts != (actualWire ? kResultFieldCount : kFirstActualWireText))
            fuzz::Fail(input, where + ": a converged row's texts", "7, or 9 with an actual wire",
                       std::to_string(texts));
    } else if (status == "noConvergence") {
        if (message != kNoConvergenceMessage || texts != 0)
            fuzz::Fail(input, where + ": no convergence shows its message and no texts", kNoConvergenceMessage,
                       message);
    } else if (status != "error" || !malformed) {
        fuzz::Fail(input, where + ": a row's status", malformed ? "error" : "converged or noConvergence", status);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Report report = BatchReport(input);

    const std::vector<CsvRecord> records = ReadCsv(input);
    const std::vector<CsvRecord> output = ReadCsv(report.out);
    for (const CsvRecord& row : output)
        if (!row.error.empty())
            fuzz::Fail(input, "the output is well-formed CSV", "no error", row.error);
    const std::size_t first = !records.empty() && IsHeader(records.front()) ? 1 : 0;
    const std::size_t rows = records.size() - first;
    if (output.size() != rows + 1)
        fuzz::Fail(input, "a header and one row per record", std::to_string(rows + 1), std::to_string(output.size()));
    if (!IsHeader(output.front()))
        fuzz::Fail(input, "the output starts with its header", "pitchDiameter,...", output.front().fields.front());

    bool withoutFigures = false;
    for (std::size_t r = 0; r < rows; ++r) {
        const std::vector<std::string>& row = output[r + 1].fields;
        CheckRow(input, records[first + r], row);
        withoutFigures = withoutFigures || row[kStatusColumn] != "converged";
    }
    const int wantExit = withoutFigures ? kExitNoFigures : kExitFigures;
    if (report.exitStatus != wantExit)
        fuzz::Fail(input, "the exit status", std::to_string(wantExit), std::to_string(report.exitStatus));
    return 0;
}
