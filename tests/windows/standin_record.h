#pragma once

#include <string>
#include <utility>
#include <vector>

// What every stand-in compiler writes down about how it was started, as KEY=VALUE lines in UTF-8,
// into TARNWICK_RECORD_DIR\PID.record; each entry point adds what its own arguments were.
using RecordFields = std::vector<std::pair<std::string, std::wstring>>;

// Writes the record with the stand-in's own fields, then lingers as long as TARNWICK_LINGER_MS
// asks and leaves PID.done. Does nothing when TARNWICK_RECORD_DIR is unset.
void recordStart(const RecordFields& own);

// Prints a line to the console, then ends the run as a compiler might: writes kStandInOutput into
// the file TARNWICK_STANDIN_WRITES names, if any, and returns the exit status TARNWICK_STANDIN_EXIT
// gives (0 when unset), or for "crash" ends by an access violation instead.
int endAsAsked();
inline constexpr char kStandInOutput[] = "stand-in output\n";
inline constexpr char kStandInMessage[] = "stand-in compiler at work";

std::string toUtf8Text(const std::wstring& wide);
