// The CSV reader and writer: RFC 4180 quoting, line endings, line numbers, and
// the recovery that lets one malformed record cost only itself.

#include "csv.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

struct WantRecord {
    std::vector<std::string> fields;
    int line;
    bool malformed = false;
};

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<WantRecord> want;
};

const ReadCase kReadCases[] = {
    {"empty text", "", {}},
    {"LF", "a,b\nc,d\n", {{{"a", "b"}, 1}, {{"c", "d"}, 2}}},
    {"CRLF, last line unended", "a,b\r\nc,d", {{{"a", "b"}, 1}, {{"c", "d"}, 2}}},
    {"CR ending the text", "a,b\r", {{{"a", "b"}, 1}}},
    {"CR inside unquoted data is data", "a\rb,c\n", {{{"a\rb", "c"}, 1}}},
    {"empty lines skipped", "\n\r\na\n\n\nb\n", {{{"a"}, 3}, {{"b"}, 6}}},
    {"empty fields, trailing comma", ",a,\n", {{{"", "a", ""}, 1}}},
    {"quoted comma", "\"1,025\",5\n", {{{"1,025", "5"}, 1}}},
    {"quoted empty field", "\"\",x", {{{"", "x"}, 1}}},
    {"doubled quote", "\"a\"\"b\",\"\"\"\"", {{{"a\"b", "\""}, 1}}},
    {"line breaks inside quotes are data and count as lines", "\"x\ny\",\"1\r\n\"\nz,2\n",
     {{{"x\ny", "1\r\n"}, 1}, {{"z", "2"}, 4}}},
    {"quote inside an unquoted field: rest of line dropped", "a,b\"c,d\ne,f\n",
     {{{"a"}, 1, true}, {{"e", "f"}, 2}}},
    {"character after a closing quote", "\"a\"b,c\nd\n", {{{}, 1, true}, {{"d"}, 2}}},
    {"quote not closed: reading resumes on the next line", "a,b\nc,\"d\ne,f\n",
     {{{"a", "b"}, 1}, {{"c"}, 2, true}, {{"e", "f"}, 3}}},
    {"quote not closed on the last line", "a\n\"b", {{{"a"}, 1}, {{}, 2, true}}},
    {"quote closed lines later swallows them", "\"a\nb\nc\",d\ne\n", {{{"a\nb\nc", "d"}, 1}, {{"e"}, 4}}},
};

TEST(CsvReaderTest, Records)
{
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        const std::vector<CsvRecord> got = ReadCsv(c.text);
        ASSERT_EQ(c.want.size(), got.size());
        for (std::size_t r = 0; r < got.size(); ++r) {
            SCOPED_TRACE("record " + std::to_string(r));
            EXPECT_EQ(c.want[r].fields, got[r].fields);
            EXPECT_EQ(c.want[r].line, got[r].line);
            EXPECT_EQ(c.want[r].malformed, !got[r].error.empty()) << "error: " << got[r].error;
        }
    }
}

struct WriteCase {
    const char* name;
    std::vector<std::string_view> fields;
    std::string_view want;
};

const WriteCase kWriteCases[] = {
    {"plain", {"a", "b"}, "a,b\r\n"},
    {"empty fields", {"", "x", ""}, ",x,\r\n"},
    {"comma", {"1,025"}, "\"1,025\"\r\n"},
    {"quotes doubled", {"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
    {"line breaks", {"x\ny", "z\r"}, "\"x\ny\",\"z\r\"\r\n"},
    {"blanks need no quotes", {" padded "}, " padded \r\n"},
    {"bytes above ASCII pass", {"5\xB0"}, "5\xB0\r\n"},
};

TEST(CsvWriterTest, Records)
{
    for (const WriteCase& c : kWriteCases) {
        std::string out;
        AppendCsvRecord(out, c.fields);
        EXPECT_EQ(c.want, out) << c.name;
    }
}

// Whatever the writer makes, the reader gives back field for field.
TEST(CsvWriterTest, ReaderReadsWhatWriterWrote)
{
    std::string out;
    for (const WriteCase& c : kWriteCases)
        AppendCsvRecord(out, c.fields);
    const std::vector<CsvRecord> records = ReadCsv(out);
    ASSERT_EQ(std::size(kWriteCases), records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
        const std::vector<std::string> want(kWriteCases[r].fields.begin(), kWriteCases[r].fields.end());
        EXPECT_EQ(want, records[r].fields) << kWriteCases[r].name;
        EXPECT_EQ("", records[r].error) << kWriteCases[r].name;
    }
}

}  // namespace
