// The Japanese fragments of the socket library's status lines, converted once to the script
// code page (CP932), in which the status handler receives every line.
#pragma once

#include <string>

#include "base/cp932.h"

namespace kestrin::script {

struct StatusTexts {
  std::string searching;          // を探しています
  std::string not_found;          // が見つかりません
  std::string found;              // が見つかりました
  std::string connecting;         // にconnectします
  std::string connect_failed;     // にconnect失敗しました
  std::string connect_succeeded;  // にconnect成功しました
  std::string disconnecting;      // から切断します
  std::string cancelling;         // cancelします
  std::string creating_socket;    // socketを作成します
  std::string socket_failed;      // socketの作成に失敗しました
  std::string created;            // を作成しました
  std::string closing;            // をcloseします
  std::string read_from;          // socketから
  std::string bytes_read;         // bytes読み込みました
  std::string written_to;         // socketに
  std::string bytes_written;      // bytes書き込みました
  std::string accept_starting;    // acceptを開始します
  std::string accept_failed;      // acceptに失敗しました
  std::string accept_succeeded;   // acceptに成功しました
  std::string received_socket;    // を受け取りました
  std::string range_tilde;        // ～
  std::string bind_range_start;   // の範囲でbindを開始します
  std::string bind_succeeded;     // でbind成功しました
  std::string bind_failed;        // でbind失敗しました
  std::string listen_starting;    // listenを開始します
  std::string listen_failed;      // listen失敗しました
  std::string listen_succeeded;   // listen成功しました
  std::string sending_request;    // サーバへリクエスト送信
  std::string reading_response;   // サーバからのレスポンス
  std::string get;                // をgetします
  std::string head;               // をheadします
  std::string post;               // をpostします
  std::string redirecting;        // にredirectします
  std::string get_failed;         // のget異常終了
  std::string head_failed;        // のhead異常終了
  std::string post_failed;        // のpost異常終了

  static const StatusTexts& Get();
};

// The shared status texts, as the network classes write them.
inline const StatusTexts& T() { return StatusTexts::Get(); }

// A Japanese message fragment written in UTF-8 here, in the script code page.
inline std::string J(const char* utf8) { return utf8_to_cp932(utf8); }

}  // namespace kestrin::script
