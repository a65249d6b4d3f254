// The FTP data transfers: data connections (PORT and PASV), downloads, uploads and
// listings. A refused command fails at once; the closing reply is read only after a
// preliminary (1xx) reply, and a local file is touched only after the server accepted.
#include <arpa/inet.h>
#include <sys/stat.h>

#include "base/cp932.h"
#include "base/paths.h"
#include "platform/net/posix_socket.h"
#include "script/objects/net/ftp_client.h"
#include "script/objects/net/protocol_reply.h"
#include "script/objects/net/socket_errors.h"
#include "script/objects/net/status_texts.h"

namespace kestrin::script {
namespace {

// Active data connections listen on a random port of 10000 .. 59999.
constexpr uint16_t kActivePortLow = 10000;
constexpr uint16_t kActivePortCount = 50000;

bool is_preliminary(int code) { return code >= 100 && code < 200; }

// The size of a local file; 0 when it does not exist.
int64_t local_size(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? static_cast<int64_t>(st.st_size) : 0;
}

// The local end of a download: from `offset` on in the existing file (a resumed download),
// else a new file that replaces the old one only when the transfer is complete.
class DownloadTarget {
public:
  DownloadTarget(const std::string& path, int64_t offset) {
    if (offset > 0) {
      file_.Open(path, fmOpenWrite | fmShareDenyWrite, true);
      file_.SetSize(offset);
      stream_ = std::make_unique<TnFileStream>(file_);
    } else {
      replacing_ = std::make_unique<TnReplacingFileStream>(path);
    }
  }
  TnStream& stream() { return replacing_ ? static_cast<TnStream&>(*replacing_) : *stream_; }
  void Commit() {
    if (replacing_) replacing_->Commit();
  }

private:
  TSafeFileStream file_;
  std::unique_ptr<TnFileStream> stream_;
  std::unique_ptr<TnReplacingFileStream> replacing_;
};

}  // namespace

// A data connection in the making: the listener of an active one until the server
// connected. Whatever way the transfer ends, the listener and the data socket are closed
// and Busy is cleared.
class TnFTP::DataConnection {
public:
  DataConnection(TnFTP& ftp, bool passive) : ftp_(ftp) {
    ftp.CloseSocket(ftp.DataSocket);
    try {
      listener_ = ftp.OpenDataConnection(passive);
    } catch (...) {
      ftp.CloseSocket(ftp.DataSocket);  // a data socket whose connect failed
      throw;
    }
  }
  ~DataConnection() {
    ftp_.CloseSocket(listener_);
    ftp_.CloseSocket(ftp_.DataSocket);
    ftp_.Busy = false;
  }
  DataConnection(const DataConnection&) = delete;
  DataConnection& operator=(const DataConnection&) = delete;
  // Active: waits (within Timeout) for the server to connect.
  void Accept() {
    if (listener_ != -1) ftp_.AcceptData(listener_);
  }

private:
  TnFTP& ftp_;
  int listener_ = -1;
};

bool ParsePasvReply(std::string_view text, uint32_t& address, uint16_t& port) {
  const size_t open = text.find('(');
  if (open == std::string_view::npos) return false;
  const size_t close = text.find(')', open);
  if (close == std::string_view::npos) return false;
  const std::string_view inner = text.substr(open + 1, close - open - 1);
  int fields[6];
  size_t pos = 0;
  for (int i = 0; i < 6; ++i) {
    const size_t comma = i < 5 ? inner.find(',', pos) : inner.size();
    if (comma == std::string_view::npos) return false;
    const std::string field = TrimText(inner.substr(pos, comma - pos));
    if (field.empty() || field.size() > 3 || field.find_first_not_of("0123456789") != std::string::npos) return false;
    fields[i] = std::stoi(field);
    if (fields[i] > 255) return false;
    pos = comma + 1;
  }
  const uint32_t host = static_cast<uint32_t>(fields[0]) << 24 | static_cast<uint32_t>(fields[1]) << 16 |
                        static_cast<uint32_t>(fields[2]) << 8 | static_cast<uint32_t>(fields[3]);
  address = htonl(host);
  port = static_cast<uint16_t>(fields[4] * 256 + fields[5]);
  return true;
}

int TnFTP::OpenDataConnection(bool passive) {
  if (passive) {
    SendProtocolLine(*this, "PASV");
    ReadFtpReply();
    uint32_t address = 0;
    uint16_t port = 0;
    if (ReplyCode != 227 || !ParsePasvReply(ReplyText, address, port)) {
      Status(2, [] { return "err>" + J("PASVコマンドを失敗しました"); });
      throw EProtocolError("ftp", ReplyCode, "ftp pasv");
    }
    DataPort = port;
    // Only the port is taken from the reply: the data connection goes to the host at the
    // other end of the control connection, so a reply naming another address cannot turn
    // the client against a third machine (the FTP bounce).
    net::SocketAddress server;
    if (net::PeerAddressOf(Socket, server) != 0) server = RemoteSockAddr;
    // The control connection's own records stay as they are.
    const net::SocketAddress control_peer = RemoteSockAddr;
    const uint16_t control_port = ConnectedPort;
    try {
      ConnectTo(DataSocket, port, server.address);
    } catch (const EnSocket&) {
      RemoteSockAddr = control_peer;
      ConnectedPort = control_port;
      Status(2, [] { return "err>" + J("data socketの作成に失敗しました"); });
      throw;
    }
    RemoteSockAddr = control_peer;
    ConnectedPort = control_port;
    DataDisconnected = false;
    return -1;
  }
  // Active: listen on the address the server reaches us by, and on it alone.
  int listener = CreateSocket();
  try {
    net::SocketAddress local;
    net::LocalAddressOf(Socket, local);
    BindRange(listener, kActivePortLow, kActivePortCount, DataPort, local.address);
    std::string host, port;
    GetLocalAddressText(host);
    GetPortText(port);
    SendProtocolLine(*this, "PORT " + host + port);
    ReadFtpReply();
    if (ReplyCode != 200 && ReplyCode != 250) {
      Status(2, [] { return "err>" + J("PORTコマンドを失敗しました"); });
      throw EProtocolError("ftp", ReplyCode, "ftp port");
    }
  } catch (...) {
    CloseSocket(listener);
    throw;
  }
  return listener;
}

void TnFTP::AcceptData(int& listener) {
  DataSocket = AcceptOn(listener);
  CloseSocket(listener);
  if (DataSocket == -1) {
    if (TnSocket::OnError) TnSocket::OnError(*this, LastError, GetWSAErrorText(LastError));
    throw ESocketError(LastError);
  }
  ClaimAcceptedHandle(DataSocket);  // ours, not a connection a script may adopt
  DataDisconnected = false;
}

void TnFTP::RunTransfer(bool preliminary, const std::function<void()>& move_data) {
  Busy = true;
  try {
    if (OnTransferStart) OnTransferStart(*this);
    move_data();
    if (OnTransferEnd) OnTransferEnd(*this);
  } catch (...) {
    Busy = false;
    CloseSocket(DataSocket);
    // The server answers the broken transfer on the control connection; that answer is
    // read here so the next command does not take it for its own.
    if (preliminary && Socket != -1) {
      try {
        ReadReplyCode();
      } catch (...) {
        // The transfer's own failure is what the caller hears about.
      }
    }
    throw;
  }
  Busy = false;
  CloseSocket(DataSocket);
  if (preliminary) ReadFtpReply();
}

void TnFTP::Retrieve(const std::string& remote_name, const std::string& local_file, bool resume, uint8_t type,
                     bool passive) {
  int64_t offset = resume ? local_size(local_file) : 0;
  PutTypeInForce(type);
  DataConnection data(*this, passive);
  Restarting = true;
  try {
    SendProtocolLine(*this, "REST " + std::to_string(offset));
    ReadFtpReply();
  } catch (const EProtocolError&) {
    offset = 0;  // no restart: the whole file, written afresh
  }
  Restarting = false;
  SendProtocolLine(*this, "RETR " + remote_name);
  ReadFtpReply();
  const bool preliminary = is_preliminary(ReplyCode);
  data.Accept();
  DownloadTarget target(local_file, offset);
  RunTransfer(preliminary, [&] { ReceiveToStream(DataSocket, target.stream(), offset, -1); });
  target.Commit();
}

void TnFTP::Store(const std::string& remote_name, TnStream& stream, int64_t offset, bool unique, bool append,
                  uint8_t type, bool passive) {
  stream.SetPosition(offset);
  PutTypeInForce(type);
  DataConnection data(*this, passive);
  SendProtocolLine(*this, std::string(append ? "APPE " : unique ? "STOU " : "STOR ") + remote_name);
  ReadFtpReply();
  const bool preliminary = is_preliminary(ReplyCode);
  data.Accept();
  RunTransfer(preliminary, [&] { SendStream(DataSocket, stream, offset, -1); });
}

void TnFTP::Listing(const std::string& command, TFTPDirectoryList& list, bool passive, bool names_only,
                    bool missing_is_empty) {
  PutTypeInForce(ftAscii);
  DataConnection data(*this, passive);
  SendProtocolLine(*this, command);
  ReadReplyCode();
  // A probe for one name: most servers answer 450 or 550 when there is none.
  if (missing_is_empty && (ReplyCode == 450 || ReplyCode == 550)) {
    list.Clear();
    return;
  }
  RaiseIfRefused();
  const bool preliminary = is_preliminary(ReplyCode);
  data.Accept();
  list.Clear();
  RunTransfer(preliminary, [&] { ReadListing(list, names_only); });
}

void TnFTP::ReadListing(TFTPDirectoryList& list, bool names_only) {
  size_t total = 0;
  std::string line;
  while (DataSocket != -1) {
    ReadLine(DataSocket, line);
    const bool ended = IsDisconnected(DataSocket);
    if (ended && line.empty()) break;
    total += line.size() + 2;
    if (total > MaxListingBytes) throw ELocalError("listing too long");
    if (!ParseList) {
      if (OnListLine) OnListLine(*this, line);
    } else if (names_only) {
      list.AddName(line);
    } else {
      list.Add(line);
    }
    if (ended) break;
  }
}

// --- downloads and uploads ---

bool TnFTP::Download(const std::string& remote_name, const std::string& local_file) {
  return RunFramed(TFTPCmdType::cmdDownload,
                   {remote_name + J("のdownloadを開始します"), J("download失敗しました"), J("download終了しました")}, true,
                   [&] { Retrieve(remote_name, local_file, false, FileType, Passive); });
}

bool TnFTP::DownloadRestore(const std::string& remote_name, const std::string& local_file) {
  return RunFramed(TFTPCmdType::cmdDownRestore,
                   {remote_name + J("のdownloadを開始します"), J("downloadを失敗しました"), J("download終了しました")}, true,
                   [&] { Retrieve(remote_name, local_file, true, FileType, Passive); });
}

void TnFTP::StoreFile(const std::string& local_file, const std::string& remote_name, int64_t offset, bool append) {
  if (!file_exists(local_file)) throw ELocalError("upload file not found");
  TSafeFileStream file;
  file.Open(local_file, fmOpenRead | fmShareDenyWrite, true);
  TnFileStream stream(file);
  Store(remote_name, stream, offset, false, append, FileType, Passive);
}

namespace {
// The status texts every upload shares.
std::string upload_start(const std::string& name) { return name + J("のuploadを開始します"); }
}  // namespace

bool TnFTP::Upload(const std::string& local_file, const std::string& remote_name) {
  return RunFramed(TFTPCmdType::cmdUpload, {upload_start(local_file), J("upload失敗しました"), J("upload終了しました")}, true,
                   [&] { StoreFile(local_file, remote_name, 0, false); });
}

bool TnFTP::UploadAppend(const std::string& local_file, const std::string& remote_name) {
  return RunFramed(TFTPCmdType::cmdAppend, {upload_start(local_file), J("upload失敗しました"), J("upload終了しました")}, true,
                   [&] { StoreFile(local_file, remote_name, 0, true); });
}

bool TnFTP::UploadFrom(const std::string& local_file, const std::string& remote_name, int64_t offset) {
  return RunFramed(TFTPCmdType::cmdUpRestore, {upload_start(local_file), J("upload失敗しました"), J("upload終了しました")},
                   true, [&] { StoreFile(local_file, remote_name, offset, true); });
}

bool TnFTP::UploadUnique(const std::string& local_file) {
  return RunFramed(TFTPCmdType::cmdUpload, {upload_start(local_file), J("upload失敗しました"), J("upload終了しました")}, true,
                   [&] {
                     if (!file_exists(local_file)) throw ELocalError("upload file not found");
                     std::string name = file_name_of(local_file);
                     TFTPDirectoryList taken;
                     ProbeListing(name, taken);
                     while (taken.HasName(name)) name = NextNumberedName(name);
                     StoreFile(local_file, name, 0, false);
                   });
}

}  // namespace kestrin::script
