// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/single_instance.h"

#include <sddl.h>

#include <memory>
#include <vector>

namespace jukora {

namespace {

constexpr DWORD kLineLimit = 32;
constexpr DWORD kClientDeadlineMs = 2000;

struct Handle {
  HANDLE handle = nullptr;
  ~Handle() {
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

std::vector<BYTE> token_user(HANDLE process) {
  Handle token;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token.handle)) return {};
  DWORD size = 0;
  GetTokenInformation(token.handle, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  if (!size || !GetTokenInformation(token.handle, TokenUser, user.data(), size, &size)) return {};
  return user;
}

PSID sid_of(std::vector<BYTE>& user) { return reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid; }

std::wstring sid_text(HANDLE process) {
  std::vector<BYTE> user = token_user(process);
  wchar_t* text = nullptr;
  if (user.empty() || !ConvertSidToStringSidW(sid_of(user), &text)) return {};
  std::wstring sid(text);
  LocalFree(text);
  return sid;
}

// Waits for an overlapped call on `pipe` to end, `stop` to be set, or the
// deadline; cancels the call in the last two cases.
bool finish(HANDLE pipe, OVERLAPPED& overlapped, HANDLE stop, DWORD deadline_ms, DWORD& bytes) {
  const HANDLE events[] = {overlapped.hEvent, stop};
  const DWORD woke = WaitForMultipleObjects(stop ? 2 : 1, events, FALSE, deadline_ms);
  if (woke != WAIT_OBJECT_0) {
    CancelIoEx(pipe, &overlapped);
    GetOverlappedResult(pipe, &overlapped, &bytes, TRUE);
    return false;
  }
  return GetOverlappedResult(pipe, &overlapped, &bytes, FALSE) != FALSE;
}

bool same_user_serves(HANDLE pipe, HANDLE& server) {
  ULONG pid = 0;
  if (!GetNamedPipeServerProcessId(pipe, &pid)) return false;
  // The running copy may bring its window to the front when asked to show it.
  AllowSetForegroundWindow(pid);
  server = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
  if (!server) return false;
  std::vector<BYTE> theirs = token_user(server), mine = token_user(GetCurrentProcess());
  return !theirs.empty() && !mine.empty() && EqualSid(sid_of(theirs), sid_of(mine));
}

}  // namespace

std::wstring instance_pipe_name() {
  const std::wstring sid = sid_text(GetCurrentProcess());
  DWORD session = 0;
  if (sid.empty() || !ProcessIdToSessionId(GetCurrentProcessId(), &session)) return {};
  return L"\\\\.\\pipe\\Jukora-" + sid + L"-" + std::to_wstring(session);
}

InstanceServer::~InstanceServer() {
  if (stop_) SetEvent(stop_);
  if (thread_.joinable()) thread_.join();
  if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
  if (stop_) CloseHandle(stop_);
}

bool InstanceServer::claim(const std::wstring& name) {
  const std::wstring sid = sid_text(GetCurrentProcess());
  if (name.empty() || sid.empty()) return false;
  // Protected: nothing inherited; the user, and nobody else, may connect.
  const std::wstring sddl = L"D:P(A;;GA;;;" + sid + L")";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
    return false;
  SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
  pipe_ = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
                           PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 64, 64, 0,
                           &security);
  LocalFree(descriptor);
  return pipe_ != INVALID_HANDLE_VALUE;
}

void InstanceServer::serve(std::function<void(RemoteWord)> deliver) {
  if (pipe_ == INVALID_HANDLE_VALUE || thread_.joinable()) return;
  deliver_ = std::move(deliver);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this] { run(); });
}

void InstanceServer::run() {
  Handle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  while (WaitForSingleObject(stop_, 0) != WAIT_OBJECT_0) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.handle;
    ResetEvent(event.handle);
    bool connected = ConnectNamedPipe(pipe_, &overlapped) != FALSE;
    const DWORD error = GetLastError();
    if (!connected && error == ERROR_PIPE_CONNECTED) connected = true;
    if (!connected && error == ERROR_IO_PENDING) {
      DWORD unused = 0;
      connected = finish(pipe_, overlapped, stop_, INFINITE, unused);
    }
    if (connected) answer_client();
    DisconnectNamedPipe(pipe_);
  }
}

void InstanceServer::answer_client() {
  Handle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::string line;
  char buffer[kLineLimit];
  // The line, up to its end, within the deadline; a longer one is no word.
  while (line.size() <= kLineLimit && line.find('\n') == std::string::npos) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.handle;
    DWORD bytes = 0;
    if (!ReadFile(pipe_, buffer, sizeof buffer, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING) return;
    if (!finish(pipe_, overlapped, stop_, kClientDeadlineMs, bytes) || bytes == 0) return;
    line.append(buffer, bytes);
  }
  const auto end = line.find('\n');
  const auto word = end == std::string::npos ? std::nullopt : remote_word(std::string_view(line).substr(0, end));
  const char* answer = word ? "ok\n" : "refused\n";
  OVERLAPPED overlapped{};
  overlapped.hEvent = event.handle;
  DWORD bytes = 0;
  if (WriteFile(pipe_, answer, static_cast<DWORD>(strlen(answer)), nullptr, &overlapped) ||
      GetLastError() == ERROR_IO_PENDING)
    finish(pipe_, overlapped, stop_, kClientDeadlineMs, bytes);
  if (word && deliver_) deliver_(*word);
  // Disconnecting drops what the client has not read yet: the answer stays
  // until the client closes its end (a read then fails), or the deadline.
  OVERLAPPED closing{};
  closing.hEvent = event.handle;
  ResetEvent(event.handle);
  if (ReadFile(pipe_, buffer, sizeof buffer, nullptr, &closing) || GetLastError() == ERROR_IO_PENDING)
    finish(pipe_, closing, stop_, kClientDeadlineMs, bytes);
}

Forwarded forward_word(const std::wstring& name, std::string_view word, DWORD exit_wait_ms) {
  Handle pipe;
  for (int attempt = 0;; ++attempt) {
    pipe.handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (pipe.handle != INVALID_HANDLE_VALUE) break;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return Forwarded::kNoneRunning;
    // Busy with another client: wait for the pipe, a few times.
    if (error != ERROR_PIPE_BUSY || attempt == 5 || !WaitNamedPipeW(name.c_str(), kClientDeadlineMs))
      return error == ERROR_ACCESS_DENIED ? Forwarded::kNotSameUser : Forwarded::kNoAnswer;
  }
  Handle server;
  if (!same_user_serves(pipe.handle, server.handle)) return Forwarded::kNotSameUser;
  // Each step within a deadline: a copy that hangs does not hang this one.
  Handle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  const std::string line = std::string(word) + "\n";
  char answer[16] = {};
  DWORD bytes = 0;
  OVERLAPPED writing{};
  writing.hEvent = event.handle;
  if (!WriteFile(pipe.handle, line.data(), static_cast<DWORD>(line.size()), nullptr, &writing) &&
      GetLastError() != ERROR_IO_PENDING)
    return Forwarded::kNoAnswer;
  if (!finish(pipe.handle, writing, nullptr, kClientDeadlineMs, bytes)) return Forwarded::kNoAnswer;
  OVERLAPPED reading{};
  reading.hEvent = event.handle;
  ResetEvent(event.handle);
  if (!ReadFile(pipe.handle, answer, sizeof answer - 1, nullptr, &reading) && GetLastError() != ERROR_IO_PENDING)
    return Forwarded::kNoAnswer;
  if (!finish(pipe.handle, reading, nullptr, 2 * kClientDeadlineMs, bytes) || bytes == 0) return Forwarded::kNoAnswer;
  if (std::string_view(answer, bytes) != "ok\n") return Forwarded::kRefused;
  if (word != word_text(RemoteWord::kExit)) return Forwarded::kDone;
  return WaitForSingleObject(server.handle, exit_wait_ms) == WAIT_OBJECT_0 ? Forwarded::kDone
                                                                           : Forwarded::kStillRunning;
}

}  // namespace jukora
