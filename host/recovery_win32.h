// The copy of unsaved work that the sample editor writes when the session
// ends without its changes saved, and offers back at the next start. Every
// window's work gets a file of its own (host/recovery_format.h holds its
// bytes), beside the document or, where that folder takes no new file, in
// the user's application data folder. Each pending file is remembered as a
// value of its own under HKEY_CURRENT_USER, so that windows ending at once
// never take each other's place and the next start finds every one.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "host/document_file_win32.h"
#include "host/recovery_format.h"

namespace vxhost {

struct Recovery {
  std::wstring document;  // the document's path; empty for an untitled one
  Encoding encoding = Encoding::Utf8;
  bool byteOrderMark = false;
  std::optional<DiskState> disk;  // the document's file when the work was kept
  bool diskRecorded = true;       // false for a file of the first version
  std::vector<KeptLine> kept;
  std::wstring text;
};

enum class RecoveryRead {
  Ok,
  Damaged,     // there, but not as written: raw holds its bytes read as UTF-8 as far as they go
  Unreadable,  // there, but it cannot be read at all (too large, locked): never offered as empty
  Missing,
};

inline constexpr wchar_t RECOVERY_KEY[] = L"Software\\VX\\vxhost";
// Where the version before kept its one pending file; still read.
inline constexpr wchar_t PENDING_RECOVERY_VALUE[] = L"PendingRecovery";
inline constexpr wchar_t PENDING_RECOVERIES_KEY[] = L"Software\\VX\\vxhost\\PendingRecoveries";
// Work that could be kept nowhere, told at the next start.
inline constexpr wchar_t UNKEPT_WORK_KEY[] = L"Software\\VX\\vxhost\\UnkeptWork";

// A recovery file holds the text in UTF-8 (up to three bytes for a unit) and
// each kept line twice over (in hexadecimal): whatever the editor holds fits.
inline constexpr std::size_t MAX_RECOVERY_BYTES = 5 * MAX_DOCUMENT_BYTES + 1024 * 1024;

// The document's file as it stands now; none when it cannot be read.
std::optional<DiskState> DiskStateOf(const std::wstring& path);

// Writes the work to a file no other recovery holds, beside the document
// ("<name>.vxrecovery", then "<name>.2.vxrecovery"...) or in the user's
// application data folder, and records it as pending. Returns the file, or
// empty when it could be written nowhere.
std::wstring KeepRecovery(const Recovery& recovery);
// Writes the file whole (or not at all) and records it as pending.
bool WriteRecovery(const std::wstring& file, const Recovery& recovery);
RecoveryRead ReadRecovery(const std::wstring& file, Recovery& recovery, std::wstring& raw);

// Every recovery file the last sessions left, oldest record first.
std::vector<std::wstring> PendingRecoveries();
void ForgetPendingRecovery(const std::wstring& file);
void ForgetPendingRecoveries();

// Work the session's end could keep nowhere: the document's name (empty for
// an untitled one) is recorded, to be told at the next start.
void NoteUnkeptWork(const std::wstring& document);
// The notes left, removed as they are taken.
std::vector<std::wstring> TakeUnkeptWork();

}  // namespace vxhost
