// Reading and writing RFC 4180 CSV. The reader is a small cursor over the whole
// text that counts lines as it goes, so that every record knows where it began.

#include "csv.h"

#include <cstddef>

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

constexpr std::string_view kCrLf = "\r\n";
// The characters that make the writer quote a field.
constexpr std::string_view kCharactersToQuote = ",\"\r\n";

class CsvCursor {
public:
    explicit CsvCursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    int Line() const { return line_; }

    // True at LF, at CRLF, or at a CR that ends the text: the end of a record.
    bool AtLineBreak() const
    {
        if (AtEnd())
            return false;
        if (text_[pos_] == kLineFeed)
            return true;
        return text_[pos_] == kCarriageReturn &&
               (pos_ + 1 == text_.size() || text_[pos_ + 1] == kLineFeed);
    }

    void SkipLineBreak()
    {
        if (text_[pos_] == kCarriageReturn)
            ++pos_;
        if (!AtEnd()) {  // the LF (absent only after a CR that ends the text)
            ++pos_;
            ++line_;
        }
    }

    // Reads one record, or none when only empty lines remain.
    bool NextRecord(CsvRecord& record)
    {
        while (AtLineBreak())
            SkipLineBreak();
        if (AtEnd())
            return false;

        record = CsvRecord{};
        record.line = line_;
        const std::size_t recordStart = pos_;
        for (;;) {
            std::string field;
            const bool quoted = !AtEnd() && text_[pos_] == kQuote;
            const bool fieldRead =
                quoted ? ReadQuoted(field, record, recordStart) : ReadUnquoted(field, record);
            if (!fieldRead)
                return true;  // malformed: the cursor is already past it
            record.fields.push_back(std::move(field));
            if (AtEnd())
                return true;
            if (AtLineBreak()) {
                SkipLineBreak();
                return true;
            }
            ++pos_;  // the comma: another field follows, empty if the record ends here
        }
    }

private:
    bool ReadUnquoted(std::string& field, CsvRecord& record)
    {
        while (!AtEnd() && text_[pos_] != kComma && !AtLineBreak()) {
            if (text_[pos_] == kQuote)
                return Fail(record, "quote inside an unquoted field");
            field += text_[pos_++];
        }
        return true;
    }

    bool ReadQuoted(std::string& field, CsvRecord& record, std::size_t recordStart)
    {
        ++pos_;  // the opening quote
        for (;;) {
            if (AtEnd()) {
                // The quote may have been meant to close on this line: start over
                // on the next line rather than lose every record after it.
                record.error = "quoted field not closed";
                pos_ = recordStart;
                line_ = record.line;
                SkipToNextLine();
                return false;
            }
            const char c = text_[pos_++];
            if (c == kQuote) {
                if (!AtEnd() && text_[pos_] == kQuote) {
                    field += kQuote;
                    ++pos_;
                    continue;
                }
                break;  // the closing quote
            }
            if (c == kLineFeed)
                ++line_;
            field += c;
        }
        if (!AtEnd() && text_[pos_] != kComma && !AtLineBreak())
            return Fail(record, "character after a closing quote");
        return true;
    }

    bool Fail(CsvRecord& record, std::string_view error)
    {
        record.error = std::string(error);
        SkipToNextLine();
        return false;
    }

    // Moves past the next LF, quotes or not.
    void SkipToNextLine()
    {
        const std::size_t lineFeed = text_.find(kLineFeed, pos_);
        if (lineFeed == std::string_view::npos) {
            pos_ = text_.size();
            return;
        }
        pos_ = lineFeed + 1;
        ++line_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

std::vector<CsvRecord> ReadCsv(std::string_view text)
{
    std::vector<CsvRecord> records;
    CsvCursor cursor(text);
    CsvRecord record;
    while (cursor.NextRecord(record))
        records.push_back(std::move(record));
    return records;
}

void AppendCsvRecord(std::string& out, std::span<const std::string_view> fields)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += kComma;
        first = false;
        if (field.find_first_of(kCharactersToQuote) == std::string_view::npos) {
            out += field;
            continue;
        }
        out += kQuote;
        for (const char c : field) {
            if (c == kQuote)
                out += kQuote;
            out += c;
        }
        out += kQuote;
    }
    out += kCrLf;
}
