// Comma-separated values as RFC 4180 writes them: fields in double quotes may
// hold commas, line breaks and doubled quotes ("1,025" is one field). Reading
// recovers from a malformed record, so that one bad row costs only itself.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// One record as read.
struct CsvRecord {
    std::vector<std::string> fields;  // unquoted; on error, the fields read before it
    int line = 0;                     // the line the record starts on, counted from 1
    std::string error;                // why the record is malformed; empty when it is not
};

// Splits `text` into records. A record ends at LF or CRLF outside quotes (or at
// the end of the text); empty lines are skipped. Malformed records come back with
// an error and reading goes on: after a quote inside an unquoted field or a
// character after a closing quote, at the next line; after a quoted field that
// the text ends inside, at the line after the one the record began on. Pure.
std::vector<CsvRecord> ReadCsv(std::string_view text);

// Appends one record: each field quoted when it holds a comma, a quote, CR or
// LF (quotes doubled inside), fields separated by commas, ended by CRLF.
void AppendCsvRecord(std::string& out, std::span<const std::string_view> fields);
