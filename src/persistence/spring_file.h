// The spring data file (".kra"): every input of the current spring, its change records,
// title-block data and document links, one value per line in a fixed order, CR LF, code page
// 850. Also the line reader the configuration file shares; files are written through
// base/file_io.h.
#pragma once

#include "base/configuration.h"
#include "base/program.h"
#include "calc/spring_record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kora {

struct Session;

inline constexpr std::string_view kSpringFileExtension = "kra";

// What the program keeps about spring files while it runs.
struct SpringFileContext {
    std::string directory;    // folder of the last used file
    std::string fileName;     // current file name, without folder and extension
    bool archiveMode = false; // started on a given file; see ResolveSpringFileName
};

// The path a save goes to, or nullopt when the save is refused or cancelled (AbortFlag set).
// An empty name asks through the save dialog; a name without "." is completed to the last
// directory + name + ".kra"; a name with "." is used as it stands. An existing file is only
// questioned when confirmOverwrite is set (Save As) and the name lacks "aktuell".
std::optional<std::string> ResolveSpringFileName(Session& session, SpringFileContext& context,
                                                 std::string_view name, bool confirmOverwrite);

// Writes the current spring. Gives the path written, or nullopt (AbortFlag set) when the save
// was cancelled, refused or failed; a failed write leaves any earlier file untouched.
std::optional<std::string> SaveSpringFile(Session& session, SpringFileContext& context,
                                          std::string_view name, bool confirmOverwrite);

// What reading a spring file gave: the path read, and the note about its table material that
// belongs in the message list after the calculation ("" for none).
struct SpringFileLoad {
    std::string path;
    std::string materialNote;
};

// Reads a spring file into the current spring, without calculating it. An empty name asks
// through the open dialog. On success the context takes the file's folder and name and
// AbortFlag is cleared; otherwise the current spring is unchanged and AbortFlag set.
std::optional<SpringFileLoad> ReadSpringFile(Session& session, SpringFileContext& context,
                                             std::string_view name);

// The file name's folder and name into the context, as a successful read leaves them.
void EnterSpringFileName(SpringFileContext& context, std::string_view path);

// ReadSpringFile, then the calculation, then the material note into the message list: the
// spring a command-line run reports on. Gives the path.
std::optional<std::string> LoadSpringFile(Session& session, SpringFileContext& context,
                                          std::string_view name);

// The bytes SaveSpringFile writes for a spring.
std::string SpringFileText(const Configuration& config, const SpringRecord& spring);

// The names of the record's fields a spring file holds, in the order the writer writes them:
// the plain fields of calc/spring_fields.h and the counts of the tables.
std::vector<std::string_view> SpringFileFieldNames();

// A value the reader did not take as the file held it: which line, what it held, what the
// spring got instead (code page 850).
struct SpringFileNotice {
    int line = 0;
    std::string field; // the record member's name
    std::string read;  // the line as the file holds it
    std::string used;  // the value the spring holds now
    std::string range; // a setting's range ("3 .. 10000"); "" for an enumeration
};

// What reading the bytes of a spring file found.
struct SpringFileReading {
    enum class Status { Complete, EndedEarly, OutOfStep, NumberOutOfRange };
    Status status = Status::Complete;
    int line = 0;               // OutOfStep, NumberOutOfRange: the line (1-based)
    std::string expected;       // OutOfStep: the marker that belonged there
    std::string number;         // NumberOutOfRange: the line's text
    std::vector<int> cutCounts; // lines whose count was cut to the table size
    std::vector<SpringFileNotice> notices;
};

// Reads the lines into `spring` over the values it holds (pass a reset record to get the
// defaults for what the file lacks). Counts are cut to the table sizes. A number whose
// magnitude no spring can mean refuses the file (NumberOutOfRange). The calculation settings
// are forced into their ranges, and enumerations outside their lists set to their defaults,
// each with a notice; an end type outside its list stays, for the calculation to refuse.
SpringFileReading ParseSpringFile(std::string_view bytes, SpringRecord& spring);

// The load notices as one text, a line each (code page 850); "" when there are none.
std::string SpringFileNoticeText(const SpringFileReading& reading, std::string_view path);

// The reader's message for a reading that is not usable or was cut, or "" (code page 850).
std::string SpringFileReadingMessage(const SpringFileReading& reading, std::string_view path);

// ---- Shared with the configuration file ----

// Lines ended by CR (an LF right after it belongs to the line end), or by Ctrl-Z, which also
// ends the file. A lone LF is part of the line. A file without any CR is read by LF instead.
class LineReader {
  public:
    explicit LineReader(std::string_view bytes);
    // The next line, or nullopt at the end of the file.
    std::optional<std::string> Next();
    int LinesRead() const { return lines_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    char end_ = '\r';
    int lines_ = 0;
};

} // namespace kora
