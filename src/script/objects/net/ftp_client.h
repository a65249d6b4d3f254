// TnFTP: a blocking FTP client on TnSocket. The control connection is the inherited
// socket; each transfer opens a data connection, actively (the client listens on the
// control connection's local address and sends PORT) or passively (PASV). Every command
// reports through status lines and a success, error and failure event carrying its
// TFTPCmdType.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/script_string.h"
#include "script/objects/net/ftp_listing.h"
#include "script/objects/net/socket.h"

namespace kestrin::script {

// The operation named in the outcome events.
enum class TFTPCmdType : uint8_t {
  cmdChangeDir, cmdMakeDir, cmdDelete, cmdRemoveDir, cmdList, cmdRename, cmdUpRestore, cmdDownRestore,
  cmdDownload, cmdUpload, cmdAppend, cmdReInit, cmdAllocate, cmdNList, cmdDoCommand, cmdCurrentDir,
  cmdAbort, cmdMode, cmdSIZE,
};
// "cmdChangeDir" ... "cmdSIZE".
const char* FTPCmdTypeName(TFTPCmdType type);

// The address (network order) and port of a PASV reply text "... (h1,h2,h3,h4,p1,p2)";
// false unless the parentheses hold six numbers of 0 to 255.
bool ParsePasvReply(std::string_view text, uint32_t& address, uint16_t& port);

// Transfer types as the server knows them.
enum : uint8_t { ftAscii = 0, ftImage = 1, ftTypeB = 2, ftUnknown = 3 };

class TnFTP : public TnSocket {
public:
  explicit TnFTP(int buffer_size);
  ~TnFTP() override;

  bool ParseList = true;  // listing lines into a directory list, else each to OnListLine
  std::string UserName = "anonymous";
  std::string Password;
  std::string CurrentDir;  // set by PrintWorkDir and, after it succeeded, by ChangeDir
  TFTPDirectoryList DirectoryList;
  int DataSocket = -1;
  uint16_t DataPort = 20;  // the bound listening port (active) or the PASV port
  bool Busy = false;       // a data transfer runs
  uint8_t TransferType = ftUnknown;  // the type in force on the server
  // The type transfers use: image unless SetTransferType chose another. It is put in force
  // before each transfer, so a listing (which switches the server to ASCII) or a server
  // whose default is ASCII never corrupts a file.
  uint8_t FileType = ftImage;
  bool Restarting = false;         // a REST is outstanding
  bool DataDisconnected = false;   // the data socket's own disconnected mark
  bool Passive = false;
  // The most bytes one listing may bring before it fails with "listing too long".
  size_t MaxListingBytes = kMaxStringBytes;

  std::function<void(TnFTP&, bool& retry)> OnLoginError;
  std::function<void(TnFTP&, bool& retry)> OnNeedUser;
  std::function<void(TnFTP&)> OnTransferStart;
  std::function<void(TnFTP&)> OnTransferEnd;
  std::function<void(TnFTP&, TFTPCmdType)> OnSuccess;
  // A command refused by the server. It hides the socket's own OnError (still reachable as
  // TnSocket::OnError), as the two carry different arguments.
  std::function<void(TnFTP&, TFTPCmdType)> OnError;
  std::function<void(TnFTP&, const std::string& line)> OnListLine;
  std::function<void(TnFTP&, bool& handled, TFTPCmdType)> OnFailure;

  bool IsDisconnected(int sock) override;
  void SetDisconnected(int sock, bool value) override;
  // Reads the data connection while a transfer runs, else the control connection.
  int Receive(void* buf, int len) override;
  // ABOR, as a command of its own (allowed while a transfer runs).
  void Abort() override;
  // Login.
  void Connect() override;
  // ABOR when busy, QUIT (errors of both dropped), then the connection closed.
  void Disconnect() override;
  // DataPort as "p1,p2".
  void GetPortText(std::string& s) override;
  // Logs a PASS command with its password as stars.
  void SendCommand(const std::string& cmd, bool log_only) override;

  // The commands. Each returns true on success and false when an OnFailure handler
  // handled its failure; an unhandled failure is raised.
  bool ChangeDir(const std::string& dir);
  bool MakeDir(const std::string& dir);
  bool RemoveDir(const std::string& dir);
  bool Delete(const std::string& name);
  bool Rename(const std::string& old_name, const std::string& new_name);
  bool PrintWorkDir();
  bool Reinitialize();
  // 0 "TYPE A", 2 "TYPE B", any other "TYPE I"; it also becomes FileType.
  bool SetTransferType(uint8_t type);
  bool List();
  bool NameList();
  bool Download(const std::string& remote_name, const std::string& local_file);
  bool DownloadRestore(const std::string& remote_name, const std::string& local_file);
  bool Upload(const std::string& local_file, const std::string& remote_name);
  bool UploadAppend(const std::string& local_file, const std::string& remote_name);
  bool UploadFrom(const std::string& local_file, const std::string& remote_name, int64_t offset);
  bool UploadUnique(const std::string& local_file);

  // The entry of file `name` from "LIST name", else its size from SIZE; Size -1 when the
  // server knows no such file.
  virtual void GetFileInfo(const std::string& name, TFTPFileProperty& entry);
  // Full server paths of the files of `dir` (the current folder when empty) whose names
  // match `mask` without regard to case (every file when it is empty), with those of its
  // subfolders when `recursive`. Ends in the folder where it started.
  void FindFiles(const std::string& dir, const std::string& mask, bool recursive, std::vector<std::string>& result);
  // Sends `line` and reads its whole reply into ReplyCode and ReplyText without raising on
  // a refusal; returns the reply's last line.
  std::string DoCommand(const std::string& line);

  // The workers behind the commands.
  virtual void Retrieve(const std::string& remote_name, const std::string& local_file, bool resume, uint8_t type,
                        bool passive);
  virtual void Store(const std::string& remote_name, TnStream& stream, int64_t offset, bool unique, bool append,
                     uint8_t type, bool passive);
  // Sends `command` over a new data connection and reads the lines it brings into `list`
  // (or to OnListLine).
  virtual void DataCommand(const std::string& command, TFTPDirectoryList& list, bool passive);
  // Passive: connects DataSocket and returns -1. Active: returns the listening socket.
  int OpenDataConnection(bool passive);
  // One reply into ReplyCode and ReplyText; 400 or more: "err>" status and EProtocolError.
  void ReadFtpReply();

private:
  // The status texts of one command, in the script code page, without their tags; an
  // empty text gives no line.
  struct FrameTexts {
    std::string start, error, end;
  };
  class DataConnection;
  bool RunFramed(TFTPCmdType code, const FrameTexts& texts, bool check_busy, const std::function<void()>& body);
  bool Failed(TFTPCmdType code, const std::string& error_text, bool protocol_error);
  void Login();
  int ReadReplyCode();
  // 400 or more in ReplyCode: "err>" status and EProtocolError.
  void RaiseIfRefused();
  // "LIST name" parsed into `list` whatever ParseList and OnListLine say; a refusal with 450
  // or 550 (no such name) is an empty list.
  void ProbeListing(const std::string& name, TFTPDirectoryList& list);
  void SendType(uint8_t type);
  void PutTypeInForce(uint8_t type);
  void ReadWorkDir();
  void AcceptData(int& listener);
  // Moves the data of a transfer; the closing reply is read only after a preliminary one.
  void RunTransfer(bool preliminary, const std::function<void()>& move_data);
  void Listing(const std::string& command, TFTPDirectoryList& list, bool passive, bool names_only,
               bool missing_is_empty);
  void ReadListing(TFTPDirectoryList& list, bool names_only);
  void StoreFile(const std::string& local_file, const std::string& remote_name, int64_t offset, bool append);
  void FindIn(const std::string& dir, const std::string& mask, bool recursive, std::vector<std::string>& result,
              int depth, int& listings);
};

}  // namespace kestrin::script
