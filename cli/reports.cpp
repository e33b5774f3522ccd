// The text, JSON and batch outputs of vintrel-calc, made from one calculation
// (or one per row) with the window's texts and messages.

#include "reports.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <vector>

#include "csv.h"
#include "json.h"

namespace {

constexpr std::string_view kStatusConverged = "converged";
constexpr std::string_view kStatusNoConvergence = "noConvergence";
constexpr std::string_view kStatusError = "error";

constexpr std::string_view kLabelEnd = ": ";
// What a header's first field is reduced to before it is compared (see IsHeader).
constexpr std::string_view kHeaderFirstField = "pitchdiameter";

// The ThreadResults numbers the JSON lists, in their declaration order.
struct ResultValue {
    std::string_view name;
    long double ThreadResults::*member;
    bool actualWireOnly;  // set only when the calculation had an actual wire
};

constexpr ResultValue kResultValues[] = {
    {"pitch", &ThreadResults::pitch, false},
    {"lead", &ThreadResults::lead, false},
    {"leadAngle", &ThreadResults::leadAngle, false},
    {"normalPressureAngle", &ThreadResults::normalPressureAngle, false},
    {"piOverTwoStarts", &ThreadResults::piOverTwoStarts, false},
    {"tanRatio", &ThreadResults::tanRatio, false},
    {"keyAngle", &ThreadResults::keyAngle, false},
    {"wireCenterDistance", &ThreadResults::wireCenterDistance, false},
    {"bestWireDiameter", &ThreadResults::bestWireDiameter, false},
    {"distanceOverWires", &ThreadResults::distanceOverWires, false},
    {"backlashFactor", &ThreadResults::backlashFactor, false},
    {"newDistance", &ThreadResults::newDistance, false},
    {"residual", &ThreadResults::residual, false},
    {"actualWireCorrection", &ThreadResults::actualWireCorrection, true},
    {"actualDistance", &ThreadResults::actualDistance, true},
    {"actualNewDistance", &ThreadResults::actualNewDistance, true},
};

bool IsActualWireField(ResultField field)
{
    return field == ResultField::ActualDistance || field == ResultField::ActualNewDistance;
}

// The status word of the JSON object and of a batch row.
std::string_view StatusName(SolveStatus status)
{
    return status == SolveStatus::Converged ? kStatusConverged : kStatusNoConvergence;
}

// A message as a line of standard error; nothing when there is none.
std::string MessageLine(std::string_view message)
{
    return message.empty() ? std::string() : std::string(message) + "\n";
}

// The column the texts start in: after the longest label and its ": ".
std::size_t TextColumn()
{
    std::size_t longest = 0;
    for (const ResultField field : kListedFields)
        longest = std::max(longest, FormatOf(field).label.size());
    return longest + kLabelEnd.size();
}

// The nine texts keyed by their ThreadResults names, in listing order.
void WriteJsonFields(JsonWriter& json, const Calculation& calculation)
{
    json.BeginObject();
    for (const ResultField field : kListedFields) {
        json.Key(FormatOf(field).name);
        json.String(calculation.texts[static_cast<std::size_t>(field)]);
    }
    json.EndObject();
}

// The ThreadResults numbers and flags; numbers a calculation without an
// actual wire leaves unset are null rather than a zero that means nothing.
void WriteJsonValues(JsonWriter& json, const ThreadResults& results)
{
    json.BeginObject();
    for (const ResultValue& value : kResultValues) {
        json.Key(value.name);
        if (value.actualWireOnly && !results.hasActualWire)
            json.Null();
        else
            json.Number(results.*value.member);
    }
    json.Key("residualHigh");
    json.Bool(results.residualHigh);
    json.Key("hasActualWire");
    json.Bool(results.hasActualWire);
    json.EndObject();
}

// A header row names its first column for the pitch diameter, in any of the
// usual spellings: "pitchDiameter", "Pitch diameter", "pitch_diameter",
// "PITCH-DIAMETER". No number text reads like that.
bool IsHeader(const CsvRecord& record)
{
    if (!record.error.empty() || record.fields.empty())
        return false;
    std::string reduced;
    for (const char c : record.fields.front()) {
        if (c == ' ' || c == '_' || c == '-')
            continue;
        reduced += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return reduced == kHeaderFirstField;
}

// Input columns take the ThreadInputs names, so that the header of an output
// read back as input (first six columns) is taken for a header again.
void AppendBatchHeader(std::string& out)
{
    std::vector<std::string_view> columns;
    for (const InputField& input : kInputFields)
        columns.push_back(input.name);
    columns.push_back("status");
    columns.push_back("message");
    for (const ResultField field : kListedFields)
        columns.push_back(FormatOf(field).name);
    AppendCsvRecord(out, columns);
}

// One output row: the inputs as read (at most six, padded when fewer), the
// status, the message and the nine texts (empty when there are none).
void AppendBatchRow(std::string& out, const std::vector<std::string>& inputs, std::string_view status,
                    std::string_view message, const std::array<std::string, kResultFieldCount>& texts)
{
    std::vector<std::string_view> row;
    for (std::size_t i = 0; i < kInputFields.size(); ++i)
        row.push_back(i < inputs.size() ? std::string_view(inputs[i]) : std::string_view());
    row.push_back(status);
    row.push_back(message);
    for (const ResultField field : kListedFields)
        row.push_back(texts[static_cast<std::size_t>(field)]);
    AppendCsvRecord(out, row);
}

// Why a record cannot be calculated, with its line; empty when it can.
std::string RecordError(const CsvRecord& record)
{
    std::string error = record.error;
    if (error.empty() && record.fields.size() != kInputFields.size())
        error = std::to_string(record.fields.size()) + " fields, expected " + std::to_string(kInputCount);
    return error.empty() ? error : "line " + std::to_string(record.line) + ": " + error;
}

}  // namespace

Report TextReport(const InputTexts& inputs)
{
    const Calculation calculation = Calculate(inputs);
    Report report;
    report.err = MessageLine(calculation.message);
    if (calculation.status == SolveStatus::NoConvergence) {
        report.exitStatus = kExitNoFigures;
        return report;
    }
    const std::size_t column = TextColumn();
    for (const ResultField field : kListedFields) {
        if (IsActualWireField(field) && !calculation.results.hasActualWire)
            continue;
        std::string label = std::string(FormatOf(field).label) + std::string(kLabelEnd);
        label.resize(column, ' ');
        report.out += label + calculation.texts[static_cast<std::size_t>(field)] + "\n";
    }
    return report;
}

Report JsonReport(const InputTexts& inputs)
{
    const Calculation calculation = Calculate(inputs);
    const bool converged = calculation.status == SolveStatus::Converged;

    JsonWriter json;
    json.BeginObject();
    json.Key("status");
    json.String(StatusName(calculation.status));
    json.Key("message");
    if (calculation.message.empty())
        json.Null();
    else
        json.String(calculation.message);
    json.Key("passes");
    json.Integer(calculation.results.passes);
    json.Key("inputs");
    json.BeginObject();
    for (std::size_t i = 0; i < kInputFields.size(); ++i) {
        json.Key(kInputFields[i].name);
        json.String(inputs[i]);
    }
    json.EndObject();
    json.Key("fields");
    if (converged)
        WriteJsonFields(json, calculation);
    else
        json.Null();
    json.Key("values");
    if (converged)
        WriteJsonValues(json, calculation.results);
    else
        json.Null();
    json.EndObject();

    Report report;
    report.out = json.Text() + "\n";
    report.err = MessageLine(calculation.message);
    report.exitStatus = converged ? kExitFigures : kExitNoFigures;
    return report;
}

Report BatchReport(std::string_view csv)
{
    const std::vector<CsvRecord> records = ReadCsv(csv);
    const std::array<std::string, kResultFieldCount> noTexts;
    Report report;
    AppendBatchHeader(report.out);

    std::size_t rows = 0;
    std::size_t rowsWithoutFigures = 0;
    const std::size_t first = !records.empty() && IsHeader(records.front()) ? 1 : 0;
    for (std::size_t r = first; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        ++rows;
        if (const std::string error = RecordError(record); !error.empty()) {
            ++rowsWithoutFigures;
            AppendBatchRow(report.out, record.fields, kStatusError, error, noTexts);
            continue;
        }
        InputTexts inputs;
        std::copy(record.fields.begin(), record.fields.end(), inputs.begin());
        const Calculation calculation = Calculate(inputs);
        if (calculation.status == SolveStatus::NoConvergence)
            ++rowsWithoutFigures;
        AppendBatchRow(report.out, record.fields, StatusName(calculation.status), calculation.message,
                       calculation.texts);
    }

    if (rowsWithoutFigures > 0) {
        report.exitStatus = kExitNoFigures;
        report.err = "vintrel-calc: " + std::to_string(rowsWithoutFigures) + " of " + std::to_string(rows) +
                     " rows gave no figures (see their status and message)\n";
    }
    return report;
}
