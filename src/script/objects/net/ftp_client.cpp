// The FTP client: login, the frame every command runs in, the commands on the control
// connection and the recursive file search. The data transfers are in ftp_transfer.cpp.
#include "script/objects/net/ftp_client.h"

#include "base/cp932.h"
#include "script/objects/net/protocol_reply.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {
namespace {

// The Japanese fragments of the status lines, in the script code page.

constexpr const char* kCmdTypeNames[] = {
    "cmdChangeDir", "cmdMakeDir",  "cmdDelete", "cmdRemoveDir", "cmdList",       "cmdRename", "cmdUpRestore",
    "cmdDownRestore", "cmdDownload", "cmdUpload", "cmdAppend",  "cmdReInit",     "cmdAllocate", "cmdNList",
    "cmdDoCommand", "cmdCurrentDir", "cmdAbort", "cmdMode",     "cmdSIZE",
};

// A file search stops with an error past these (a server may list a folder in itself).
constexpr int kMaxFindDepth = 64;
constexpr int kMaxFindListings = 10000;

// Restores a value when the scope ends.
template <class T>
class Restore {
public:
  explicit Restore(T& target) : target_(target), saved_(target) {}
  ~Restore() { target_ = std::move(saved_); }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

private:
  T& target_;
  T saved_;
};

}  // namespace

const char* FTPCmdTypeName(TFTPCmdType type) {
  const auto i = static_cast<size_t>(type);
  return i < std::size(kCmdTypeNames) ? kCmdTypeNames[i] : "";
}

TnFTP::TnFTP(int buffer_size) : TnSocket(buffer_size) { Port = 21; }

TnFTP::~TnFTP() {
  try {
    Disconnect();
  } catch (...) {
    // A failing farewell must not escape a destructor.
  }
  CloseSocket(DataSocket);
}

bool TnFTP::IsDisconnected(int sock) {
  if (sock != -1 && sock == DataSocket) return DataDisconnected || SocketState(sock) != ssConnected;
  return TnSocket::IsDisconnected(sock);
}

void TnFTP::SetDisconnected(int sock, bool value) {
  if (sock != -1 && sock == DataSocket) DataDisconnected = value;
  else TnSocket::SetDisconnected(sock, value);
}

int TnFTP::Receive(void* buf, int len) { return RecvBuffer(Busy && DataSocket != -1 ? DataSocket : Socket, buf, len); }

void TnFTP::GetPortText(std::string& s) { s = std::to_string(DataPort / 256) + "," + std::to_string(DataPort % 256); }

void TnFTP::SendCommand(const std::string& cmd, bool log_only) {
  if (cmd.rfind("PASS", 0) != 0) return TnSocket::SendCommand(cmd, log_only);
  if (!log_only) SendLine(cmd);
  Status(2, [&] { return "cmd>PASS " + std::string(cmd.size() > 5 ? cmd.size() - 5 : 0, '*'); });
}

int TnFTP::ReadReplyCode() {
  ReplyCode = 0;
  FtpReplyEnd end;
  const std::string line = ReadProtocolReply(*this, end);
  ReplyCode = ReplyCodeOf(line);
  ReplyText = ReplyTextFrom(line, 5);
  return ReplyCode;
}

void TnFTP::ReadFtpReply() {
  ReadReplyCode();
  RaiseIfRefused();
}

void TnFTP::RaiseIfRefused() {
  if (ReplyCode < 400) return;
  Status(2, [&] { return "err>" + std::to_string(ReplyCode) + " " + ReplyText; });
  throw EProtocolError("ftp", ReplyCode, ReplyText);
}

std::string TnFTP::DoCommand(const std::string& line) {
  SendProtocolLine(*this, line);
  ReadReplyCode();
  return LastReply;
}

// --- login and logout ---

void TnFTP::Connect() { Login(); }

void TnFTP::Login() {
  if (!Connected || Socket == -1) {
    if (Proxy.empty()) {
      ConnectHost(Host, Port);
    } else {
      const size_t colon = Proxy.find(':');
      const std::string host = TrimText(Proxy.substr(0, colon));
      const std::string port = colon == std::string::npos ? std::string() : TrimText(Proxy.substr(colon + 1));
      ConnectHost(host, PortFromText(port, 21));
    }
    ReadGreeting(*this, [&] { ReadFtpReply(); });
  }
  TransferType = ftUnknown;
  Busy = Restarting = false;
  CloseSocket(DataSocket);
  DataPort = 20;
  DirectoryList.Clear();
  Status(1, [] { return "nfo>" + J("loginします"); });
  // Each attempt sends USER (and PASS when asked) afresh, so a retry after a refusal really
  // logs in again; only a final 230 counts as logged in.
  RunLoginAttempts(
      *this,
      [&] {
        SendProtocolLine(*this, "USER " + UserName + (Proxy.empty() ? std::string() : "@" + Host));
        ReadFtpReply();
        if (ReplyCode == 331) {
          SendProtocolLine(*this, "PASS " + Password);
          ReadFtpReply();
        }
        if (ReplyCode != 230) {
          Status(2, [] { return "err>" + J("login失敗しました"); });
          throw EProtocolError("ftp", ReplyCode, "ftp login failed");
        }
      },
      [&] {
        Status(2, [] { return "err>" + J("useridがありません"); });
        throw EProtocolError("ftp", ReplyCode, "AuthenticationNeeded");
      });
}

void TnFTP::Disconnect() {
  if (Connected && Socket != -1) {
    try {
      if (Busy) Abort();
    } catch (...) {
      // Leaving anyway.
    }
    Status(1, [] { return "nfo>" + J("logoutします"); });
    try {
      SendProtocolLine(*this, "QUIT");
      ReadFtpReply();
    } catch (...) {
      // The server may be gone already.
    }
  }
  CloseSocket(DataSocket);
  Busy = false;
  TnSocket::Disconnect();
}

// --- the frame ---

bool TnFTP::RunFramed(TFTPCmdType code, const FrameTexts& texts, bool check_busy, const std::function<void()>& body) {
  if (!texts.start.empty()) Status(1, [&] { return "nfo>" + texts.start; });
  try {
    if (check_busy && Busy) throw EProtocolBusy("protocol busy");
    body();
  } catch (const EProtocolError&) {
    return Failed(code, texts.error, true);
  } catch (...) {
    return Failed(code, texts.error, false);
  }
  if (!texts.end.empty()) Status(1, [&] { return "nfo>" + texts.end; });
  if (OnSuccess) OnSuccess(*this, code);
  return true;
}

// Called inside a catch block: reports the failure and raises it again unless handled.
bool TnFTP::Failed(TFTPCmdType code, const std::string& error_text, bool protocol_error) {
  Status(2, [&] { return "err>" + error_text; });
  if (protocol_error && OnError) OnError(*this, code);
  bool handled = false;
  if (OnFailure) OnFailure(*this, handled, code);
  if (!handled) throw;
  return false;
}

// --- commands on the control connection ---

void TnFTP::ReadWorkDir() {
  SendProtocolLine(*this, "PWD");
  ReadFtpReply();
  // RFC 959: the name in double quotes, a quote inside it doubled.
  const size_t quote = ReplyText.find('"');
  if (quote != std::string::npos) CurrentDir = Dequote(std::string_view(ReplyText).substr(quote), '"');
}

bool TnFTP::ChangeDir(const std::string& dir) {
  return RunFramed(TFTPCmdType::cmdChangeDir,
                   {J("currentdirを") + dir + J("に変更します"), J("CWDコマンドを失敗しました"), J("change dir終了しました")},
                   true, [&] {
                     SendProtocolLine(*this, "CWD " + dir);
                     ReadFtpReply();
                     ReadWorkDir();
                   });
}

bool TnFTP::MakeDir(const std::string& dir) {
  return RunFramed(TFTPCmdType::cmdMakeDir,
                   {dir + J("を作成します"), J("MKDコマンドを失敗しました"), J("make directory終了しました")}, true, [&] {
                     SendProtocolLine(*this, "MKD " + dir);
                     ReadFtpReply();
                   });
}

bool TnFTP::RemoveDir(const std::string& dir) {
  return RunFramed(TFTPCmdType::cmdRemoveDir,
                   {dir + J("を削除します"), J("RMDコマンドを失敗しました"), J("remove directory終了しました")}, true, [&] {
                     SendProtocolLine(*this, "RMD " + dir);
                     ReadFtpReply();
                   });
}

bool TnFTP::Delete(const std::string& name) {
  return RunFramed(TFTPCmdType::cmdDelete, {name + J("を削除します"), J("DELEコマンドを失敗しました"), J("delete終了しました")},
                   true, [&] {
                     SendProtocolLine(*this, "DELE " + name);
                     ReadFtpReply();
                   });
}

bool TnFTP::Rename(const std::string& old_name, const std::string& new_name) {
  return RunFramed(TFTPCmdType::cmdRename,
                   {old_name + J("を") + new_name + J("に変更します"), J("renameを失敗しました"), J("rename終了しました")}, true,
                   [&] {
                     SendProtocolLine(*this, "RNFR " + old_name);
                     ReadFtpReply();
                     SendProtocolLine(*this, "RNTO " + new_name);
                     ReadFtpReply();
                   });
}

bool TnFTP::PrintWorkDir() {
  return RunFramed(TFTPCmdType::cmdCurrentDir, {"", J("PWDコマンドを失敗しました"), ""}, true, [&] { ReadWorkDir(); });
}

bool TnFTP::Reinitialize() {
  return RunFramed(TFTPCmdType::cmdReInit,
                   {J("接続を初期化します"), J("REINコマンドを失敗しました"), J("reinitialize終了しました")}, true, [&] {
                     SendProtocolLine(*this, "REIN");
                     ReadFtpReply();
                     TransferType = ftUnknown;
                   });
}

void TnFTP::SendType(uint8_t type) {
  SendProtocolLine(*this, type == ftAscii ? "TYPE A" : type == ftTypeB ? "TYPE B" : "TYPE I");
  ReadFtpReply();
  TransferType = type;
}

void TnFTP::PutTypeInForce(uint8_t type) {
  if (TransferType != type) SendType(type);
}

bool TnFTP::SetTransferType(uint8_t type) {
  return RunFramed(TFTPCmdType::cmdMode,
                   {J("file modeを変更します"), J("TYPEコマンドを失敗しました"), J("file mode終了しました")}, true, [&] {
                     SendType(type);
                     FileType = type;
                   });
}

void TnFTP::Abort() {
  RunFramed(TFTPCmdType::cmdAbort, {J("abortを開始します"), J("ABORコマンドを失敗しました"), J("abort終了しました")}, false,
            [&] {
              SendProtocolLine(*this, "ABOR");
              ReadFtpReply();
            });
}

// --- listings and the file search ---

bool TnFTP::List() {
  return RunFramed(TFTPCmdType::cmdList, {J("listを取得します"), J("LISTコマンドを失敗しました"), J("list取得終了しました")},
                   true, [&] { DataCommand("LIST", DirectoryList, Passive); });
}

bool TnFTP::NameList() {
  return RunFramed(TFTPCmdType::cmdNList, {J("listを取得します"), J("NLSTコマンドを失敗しました"), J("list取得終了しました")},
                   true, [&] { Listing("NLST", DirectoryList, Passive, true, false); });
}

void TnFTP::DataCommand(const std::string& command, TFTPDirectoryList& list, bool passive) {
  Listing(command, list, passive, false, false);
}

void TnFTP::ProbeListing(const std::string& name, TFTPDirectoryList& list) {
  Restore<bool> keep_parse(ParseList);
  Restore<decltype(OnListLine)> keep_handler(OnListLine);
  ParseList = true;
  OnListLine = nullptr;
  Listing("LIST " + name, list, Passive, false, true);
}

void TnFTP::GetFileInfo(const std::string& name, TFTPFileProperty& entry) {
  if (Busy) throw EProtocolBusy("protocol busy");
  entry = TFTPFileProperty();
  entry.Size = -1;
  TFTPDirectoryList probe;
  ProbeListing(name, probe);
  for (size_t i = 0; i < probe.Count(); ++i) {
    const TFTPFileProperty& item = probe.Items(i);
    if (item.Kind == TFTPFileProperty::kFile && item.Name == name) {
      entry = item;
      break;
    }
  }
  if (entry.Size != -1) return;
  PutTypeInForce(ftImage);
  SendProtocolLine(*this, "SIZE " + name);
  if (ReadReplyCode() != 213) return;
  const std::string size = TrimText(ReplyText);
  if (!size.empty() && size.size() <= 18 && size.find_first_not_of("0123456789") == std::string::npos)
    entry.Size = std::stoll(size);
}

void TnFTP::FindFiles(const std::string& dir, const std::string& mask, bool recursive, std::vector<std::string>& result) {
  int listings = 0;
  FindIn(dir, mask, recursive, result, 0, listings);
}

void TnFTP::FindIn(const std::string& dir, const std::string& mask, bool recursive, std::vector<std::string>& result,
                   int depth, int& listings) {
  if (depth > kMaxFindDepth || ++listings > kMaxFindListings) throw ELocalError("directory tree too large");
  Restore<bool> keep_parse(ParseList);
  ParseList = true;
  if (CurrentDir.empty()) PrintWorkDir();
  const std::string start_dir = CurrentDir;
  if (!dir.empty() && dir != CurrentDir && !ChangeDir(dir)) return;
  TFTPDirectoryList entries;
  DataCommand("LIST", entries, Passive);
  const std::string prefix = CurrentDir.empty() || CurrentDir.back() != '/' ? CurrentDir + "/" : CurrentDir;
  std::vector<std::string> folders;
  for (size_t i = 0; i < entries.Count(); ++i) {
    const TFTPFileProperty& entry = entries.Items(i);
    if (entry.Kind == TFTPFileProperty::kDirectory) {
      if (entry.Name != "." && entry.Name != "..") folders.push_back(entry.Name);
    } else if (entry.Kind == TFTPFileProperty::kFile && (mask.empty() || MatchWildcard(entry.Name, mask, true))) {
      result.push_back(prefix + entry.Name);
    }
  }
  if (recursive) {
    for (const std::string& folder : folders) {
      // A folder the server will not enter or list (a name with blanks reads as its last
      // word, say) is left out; its refusal is in the status lines, and the rest is found.
      try {
        FindIn(prefix + folder, mask, recursive, result, depth + 1, listings);
      } catch (const EProtocolError&) {
      }
    }
  }
  if (CurrentDir != start_dir && !start_dir.empty()) ChangeDir(start_dir);
}

}  // namespace kestrin::script
