#pragma once

namespace tz4::cli::ExitCode {

// Scripts tell these apart, so they never change.
constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int Usage = 2;            // also a setting refused before the instrument is touched
constexpr int InstrumentErrors = 3; // stored, but the instrument reported command errors
constexpr int LinkLost = 4;         // the instrument stopped answering
constexpr int NotStored = 5;        // measured, but written to an exchange file: the database did not take it
// A run stopped by a signal ends as a shell reports it: 130 for Ctrl-C, 143 SIGTERM, 129 SIGHUP.
constexpr int signalled(int signal) { return 128 + signal; }

} // namespace tz4::cli::ExitCode
