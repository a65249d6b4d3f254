// The status texts, written here in UTF-8 and converted once.
#include "script/objects/net/status_texts.h"

#include "base/cp932.h"

namespace kestrin::script {

const StatusTexts& StatusTexts::Get() {
  static const StatusTexts texts = [] {
    auto j = [](const char* utf8) { return utf8_to_cp932(utf8); };
    StatusTexts t;
    t.searching = j("を探しています");
    t.not_found = j("が見つかりません");
    t.found = j("が見つかりました");
    t.connecting = j("にconnectします");
    t.connect_failed = j("にconnect失敗しました");
    t.connect_succeeded = j("にconnect成功しました");
    t.disconnecting = j("から切断します");
    t.cancelling = j("cancelします");
    t.creating_socket = j("socketを作成します");
    t.socket_failed = j("socketの作成に失敗しました");
    t.created = j("を作成しました");
    t.closing = j("をcloseします");
    t.read_from = j("socketから ");
    t.bytes_read = j(" bytes読み込みました");
    t.written_to = j("socketに ");
    t.bytes_written = j(" bytes書き込みました");
    t.accept_starting = j("acceptを開始します");
    t.accept_failed = j("acceptに失敗しました");
    t.accept_succeeded = j("acceptに成功しました");
    t.received_socket = j("を受け取りました");
    t.range_tilde = j("～");
    t.bind_range_start = j("の範囲でbindを開始します");
    t.bind_succeeded = j("でbind成功しました");
    t.bind_failed = j("でbind失敗しました");
    t.listen_starting = j("listenを開始します");
    t.listen_failed = j("listen失敗しました");
    t.listen_succeeded = j("listen成功しました");
    t.sending_request = j("サーバへリクエスト送信");
    t.reading_response = j("サーバからのレスポンス");
    t.get = j("をgetします");
    t.head = j("をheadします");
    t.post = j("をpostします");
    t.redirecting = j("にredirectします");
    t.get_failed = j("のget異常終了");
    t.head_failed = j("のhead異常終了");
    t.post_failed = j("のpost異常終了");
    return t;
  }();
  return texts;
}

}  // namespace kestrin::script
