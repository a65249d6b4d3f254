// The network objects as scripts see them: URL and Cookie on their own, HTTP against the
// route server on loopback, and a TCPSocket that talks to itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/text_file.h"
#include "net_peers.h"
#include "protocol_peers.h"
#include "script/objects/script_runner.h"
#include "support/scripted_peer.h"

namespace kestrin::script {
namespace {

using test::NetPeers;
using testing::ScriptRunner;

TEST(SocketObjects, UrlPartsAliasesAndResolution) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run(R"(
    var u = new URL("http://me:pw@Example.COM:8080/a/b/page.html?x=1");
    println([u.protocol, u.scheme, u.username, u.user, u.userid, u.password, u.pass].join("|"));
    println([u.hostname, u.host, u.port, u.path, u.directory, u.dir, u.filename, u.query, u.search].join("|"));
    println(u.expand("../c/d.txt;p=1") + " " + u.expand() + " " + u);
    u.host = "kestrin.test:81";
    println(u.hostname + " " + u.port + " " + u.href);
    u.host = "other.test";
    println(u.host + " " + u.uri);
    u.filename = "new.txt";
    u.query = "y=2";
    println(u.path + " " + u.url);
    u.path = "/top/index.htm?q";
    println(u.dir + " " + u.filename + " " + u.query);
    u.url = "ftp://files.test/pub/";
    println(u.protocol + " " + u.host + " " + u.path + " [" + u.filename + "]");
    println(new URL().url == "");
    try { new URL("http://host:port/"); } catch (e) { println("caught " + e); }
  )"),
            "http|http|me|me|me|pw|pw\n"
            "example.com|example.com:8080|8080|/a/b/page.html?x=1|/a/b/|/a/b/|page.html|?x=1|?x=1\n"
            "http://me:pw@example.com:8080/a/c/d.txt http://me:pw@Example.COM:8080/a/b/page.html?x=1 "
            "http://me:pw@Example.COM:8080/a/b/page.html?x=1\n"
            "kestrin.test 81 http://me:pw@kestrin.test:81/a/b/page.html?x=1\n"
            "other.test:81 http://me:pw@other.test:81/a/b/page.html?x=1\n"
            "/a/b/new.txt?y=2 http://me:pw@other.test:81/a/b/new.txt?y=2\n"
            "/top/ index.htm ?q\n"
            "ftp files.test /pub/ []\n"
            "true\n"
            "caught EConvertError\n");
}

TEST(SocketObjects, CookieNamesAreMembers) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run(R"(
    var c = new Cookie();
    c.parse("session=abc; path=/app; domain=kestrin.test; expires=Wed, 09 Jun 2021 10:18:14 GMT");
    println(c.session + " " + c["session"] + " " + c.length + " " + c.path + " " + c.domain);
    c.theme = "dark";
    c.parse("lang", "ja");
    c.path = "/";   // a property, never a cookie of that name
    println(c.getProperties() + " " + c.hasKey("theme") + " " + c.hasKey("nothing"));
    println(c.expires.getUTCFullYear() + "-" + (c.expires.getUTCMonth() + 1) + "-" + c.expires.getUTCDate() +
            " " + c.expires.getUTCHours() + ":" + c.expires.getUTCMinutes());
    println(c.data);
    println(c.parse("x=1") === c);
    c.missing;
  )"),
            "abc abc 1 /app kestrin.test\n"
            "lang,theme,session true false\n"
            "2021-6-9 10:18\n"
            "expires=Wed, 09 Jun 2021 10:18:14 GMT;domain=kestrin.test;path=/;lang=ja;theme=dark;session=abc;\n"
            "true\n"
            "error: Exception: ENameError(13) => missing\n");
}

std::string WithBase(const test::PeerProcess* peer, std::string script) {
  return "var base = \"http://127.0.0.1:" + std::to_string(peer->port()) + "\";\n" + script;
}

TEST(SocketObjects, HttpAgainstTheRouteServer) {
  test::PeerProcess* routes = NetPeers::Get().Routes();
  KESTRIN_REQUIRE_NET_PEER(routes);
  ScriptRunner runner;
  const std::string host = "127.0.0.1:" + std::to_string(routes->port());
  EXPECT_EQ(runner.Run(WithBase(routes, R"(
    var h = new HTTP();
    println(h.post(base + "/echo", "a=1"));
    h.requestHeader["X-Kestrin"] = "yes";
    println(h.get(base + "/headers"));   // the post's content type is gone, the member is sent
    println(h.responseHeader.code + " " + h.responseHeader.text + " " + h.responseHeader.version + " " + h.length);
    println(h.responseHeader["content-length"] + " " + h.responseHeader.hasKey("server"));
    print(h.requestHeader);
    println(h.responseHeader.toString().split("\n")[0]);
    try { new HTTPS().write("x"); } catch (e) { println("https write: " + e); }
    h.get(base + "/cookie");
    println(h.responseHeader.cookie.session + " " + h.responseHeader.cookie.theme + " " + h.responseHeader.cookie.path);
    println(h.head(base + "/target") === h);
    try { h.head(base + "/status/404"); } catch (e) { println("caught " + e + " " + h.responseHeader.code); }
    h.responseHeader.clear();
    println(h.responseHeader.code + " [" + h.responseHeader.text + "]");
    h.autoRedirect = true;
    println(h.get(base + "/redirect/relative") + " " + h.autoRedirect);
    println(h.getEvents());
    println(isUndefined(h.get()) + " " + (h.getFile(base + "/target") === h));
    h.get(base + "/status/404");
  )")),
            "method=POST\nlength=3\ntype=application/x-www-form-urlencoded\nbody=a=1\n"
            "GET /headers HTTP/1.0\nX-Kestrin: yes\nConnection: close\nHost: " + host + "\nAccept: */*\n"
            "200 OK 1.0 88\n"
            "88 true\n"
            "X-Kestrin: yes\n"
            "HTTP/1.0 200 OK\n"
            "https write: ESocketError\n"
            "abc dark /cookie\n"
            "true\n"
            "caught ESocketError 404\n"
            "999 []\n"
            "target reached true\n"
            "onConnect,onDisconnect,onError,onFailure,onRead,onRequest,onResponse,onStatus,onSuccess,onWrite\n"
            "true true\n"
            "error: Exception: ESocketError(22) => HTTP.get error\n");
}

// Bodies of several megabytes, received straight into the script string as it grows, hold
// the same bytes as the file getFile writes, for get and post, whole and chunked; a body
// cut short is an error and leaves no value.
TEST(SocketObjects, HttpBodiesIntoScriptStringsMatchTheFile) {
  test::PeerProcess* routes = NetPeers::Get().Routes();
  KESTRIN_REQUIRE_NET_PEER(routes);
  test::TempDir local;
  ScriptRunner runner;
  EXPECT_EQ(runner.Run(WithBase(routes, "var file = \"" + local.file("body.bin") + "\";\n" + R"(
    function fileText() { var f = new File(file); f.open(); var t = f.read(); f.close(); return t; }
    var h = new HTTP();
    var sizes = [1, 65536, 65537, 3000001];
    for (var i = 0; i < sizes.length; i++) {
      var url = base + "/bytes?n=" + sizes[i];
      var got = h.get(url), posted = h.post(url, "x");
      h.getFile(url, file);
      var kept = fileText();
      println(sizes[i] + " " + (got === kept) + " " + (posted === kept) + " " + h.length);
    }
    h.version = "1.1";
    println("[" + h.get(base + "/chunked") + "]");
    var cut = "none";
    try { cut = h.get(base + "/truncated"); } catch (e) { println("truncated: " + e + " " + cut); }
  )")),
            "1 true true 1\n"
            "65536 true true 65536\n"
            "65537 true true 65537\n"
            "3000001 true true 3000001\n"
            "[hello world]\n"
            "truncated: ESocketError none\n");
}

// CR, LF or NUL in a URL, a method, the version or a request header would put lines of the
// script's own on the wire: each is refused with the method's error and sends nothing.
TEST(SocketObjects, HttpRefusesLineBreaksInTheRequest) {
  test::ScriptedPeer peer;
  peer.ReadUntil("\r\n\r\n").Send("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
  peer.Start(2);
  const std::string base = "var base = \"http://127.0.0.1:" + std::to_string(peer.port()) + "\";\n";
  const struct {
    const char* script;
    const char* error;  // the method's error, "" for none
  } cases[] = {
      {R"(new HTTP().get(base + "/a\r\n\r\nGET /smuggled");)", "HTTP.get error"},
      {R"(new HTTP().get(base + "/a" + String.fromCharCode(0) + "b");)", "HTTP.get error"},
      {R"(var h = new HTTP(); h.requestHeader["X-A"] = "v\nX-Injected: 1"; h.get(base + "/");)", "HTTP.get error"},
      {R"(var h = new HTTP(); h.requestHeader["X-B\r\nX-Injected"] = "1"; h.head(base + "/");)", "HTTP.head error"},
      {R"(new HTTP().request("GET / HTTP/1.0\r\nX-Injected: 1\r\n", base + "/");)", "HTTP.request error"},
      {R"(var h = new HTTP(); h.version = "1.0\nX-Injected: 1"; h.post(base + "/", "x");)", "HTTP.post error"},
      {R"(new HTTP().getFile(base + "/\r\nX-Injected: 1", "never.txt");)", "HTTP.getFile error"},
      {R"(var h = new HTTPS(); h.requestHeader.Cookie = "a=1\r\nX-Injected: 1"; h.get(base + "/");)", "HTTP.get error"},
      {R"(println(new HTTP().get(base + "/fine#fragment"));)", ""},
      {R"(println(new HTTPS().get(base + "/fine"));)", ""},
  };
  for (const auto& c : cases) {
    ScriptRunner runner;
    const std::string out = runner.Run(base + c.script);
    if (*c.error) {
      EXPECT_TRUE(out.starts_with("error: Exception: ESocketError(")) << c.script << out;
      EXPECT_TRUE(out.ends_with(std::string(" => ") + c.error + "\n")) << c.script << out;
    } else {
      EXPECT_EQ(out, "ok\n") << c.script;
    }
  }
  const auto& received = peer.Received();
  ASSERT_EQ(received.size(), 2u);
  for (const std::string& request : received) {
    EXPECT_TRUE(request.starts_with("GET /fine HTTP/1.0\r\n")) << request;
    EXPECT_EQ(request.find("Injected"), std::string::npos) << request;
  }
  EXPECT_FALSE(std::filesystem::exists("never.txt"));
}

// A long read grows the script string in place; a counted read takes its count and
// leaves the rest for the next.
TEST(SocketObjects, TcpSocketReadsLongStreamsWhole) {
  std::string sent;
  for (size_t i = 0; i < (size_t{5} << 20) + 3; ++i) sent += static_cast<char>('a' + i % 26);
  test::ScriptedPeer peer;
  peer.Send(sent);
  peer.Start();
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var PORT = " + std::to_string(peer.port()) + ";\n" + R"(
    var t = new TCPSocket();
    t.host = "127.0.0.1";
    t.port = PORT;
    t.connect();
    var head = t.read(5);
    var rest = t.read();
    println(head + " " + rest.length + " " + rest.substring(0, 3) + " " + rest.substring(rest.length - 3));
    println((head + rest).length == t.bytesRead);
  )"),
            "abcde 5242878 fgh ghi\n"
            "true\n");
}

TEST(SocketObjects, TcpSocketTalksToItself) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run(R"(
    var server = new TCPSocket();
    server.bind();
    var client = new TCPSocket();
    client.host = "127.0.0.1";
    client.port = server.port;
    client.connect();
    client.writeln("hello");
    client.write("tail");
    var peer = server.accept();
    println(peer.readln() + " " + peer.isConnected() + " " + client.isConnected());
    peer.writeln("back");
    println(client.readln() + " " + client.bytesWrote + " " + peer.bytesRead);
    client.disconnect();
    println(peer.read());
    println(peer.getEvents());
    try { new TCPSocket(0); } catch (e) { println("stdin: " + e); }
    try { new TCPSocket(12345); } catch (e) { println("unknown: " + e); }

    // A handler that sets its Boolean cancels the receive.
    var second = new TCPSocket();
    second.host = "127.0.0.1";
    second.port = server.port;
    second.connect();
    second.write("x");
    var other = server.accept();
    var counts = [];
    other.onRead = function (sender, count, cancel) { counts.push(count); cancel.bool = true; };
    try { other.read(1); } catch (e) { println("cancelled: " + e + " " + counts); }
  )"),
            "hello true true\n"
            "back 11 7\n"
            "tail\n"
            "onConnect,onDisconnect,onError,onRead,onStatus,onWrite\n"
            "stdin: ESocketError\n"
            "unknown: ESocketError\n"
            "cancelled: ESocketError 1\n");
}

TEST(SocketObjects, HtmlParserItemsAreTags) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run(R"(
    var p = new HtmlParser("<p class=\"x\">Hello<br>world <a href='/a' title=\"T\" defer>link</a></p>");
    println(p.count + " " + p.length + " [" + p.text + "]");
    var a = p[1];
    println(a.name + " " + a.href + " " + a.title + " " + a);
    for (var i in p) print(p[i].name + ";");
    println("");
    println(isNull(p[9]) + " " + p.parseFile("/no/such/file.html").count + " " + (p == p.toString()));
    p.parse("<b>bold</b>");
    println(p.count + " " + p.html + " " + p.text);
    p.clear();
    println(p.count);
  )"),
            "4 4 [Hello\nworld link]\n"
            "a /a T <a href=\"/a\" title=\"T\">\n"
            "p;a;/a;/p;\n"
            "true 4 true\n"
            "2 <b>bold</b> Hello\nworld linkbold\n"
            "0\n");
}

TEST(SocketObjects, MailHeadersAreMembers) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run(R"(
    var m = new Mail();
    m.Subject = "hello";
    m["X-Kestrin"] = "1";
    m.message = "body";
    m.attachments.add("/tmp/a.txt");
    m.attachments.add("/tmp/b.txt");
    println(m.subject + " " + m["x-kestrin"] + " " + m.getProperties() + " " + m.attachments.count + " " + m.message);
    try { m.Missing; } catch (e) { println("dot: " + e); }
    try { m["Missing"]; } catch (e) { println("index: " + e); }
    m.clear();
    println(m.attachments.count + " [" + m.message + "] " + m.hasKey("subject"));
  )"),
            "hello 1 X-Kestrin,Subject 2 body\n"
            "dot: ENameError\n"
            "index: EKeyError\n"
            "0 [] false\n");
}

// A line break in a mail header fails sendMail with its error before the envelope goes out.
TEST(SocketObjects, MailHeaderLineBreaksFailSendMail) {
  test::ScriptedPeer peer;
  peer.Send("220 ready\r\n").ReadUntil("HELO").Send("250 hi\r\n").ReadUntil("QUIT\r\n").Send("221 bye\r\n");
  peer.Start(2);
  std::string out;
  {
    ScriptRunner runner;  // gone before the sessions are read, so both have said QUIT
    out = runner.Run("var PORT = " + std::to_string(peer.port()) + ";\n" + R"(
    var smtp = new SMTP("127.0.0.1", PORT);
    smtp.mail.From = "a@example.com";
    smtp.mail.To = "b@example.com\nRCPT TO:<evil@example.com>";
    smtp.connect();
    try { smtp.sendMail(); } catch (e) { println("refused"); }
    smtp.disconnect();
    smtp.mail.To = "b@example.com";
    smtp.mail.Subject = "hello\r\nBcc: evil@example.com";
    smtp.connect();
    smtp.sendMail();
  )");
  }
  EXPECT_TRUE(out.starts_with("refused\nerror: Exception: ")) << out;
  EXPECT_TRUE(out.ends_with(" => SMTP.sendMail error\n")) << out;
  for (const std::string& session : peer.Received()) EXPECT_EQ(session.find("evil"), std::string::npos) << session;
}

TEST(SocketObjects, MailGoesOutAndComesBack) {
  test::MailPeers peers;
  KESTRIN_START_PROTOCOL_PEER(peers);
  const std::string dir = peers.dir().file("");
  ASSERT_TRUE(write_file_bytes(dir + "note.txt", "attached note\n"));
  ASSERT_TRUE(write_file_bytes(dir + "second.txt", "second file\n"));
  std::filesystem::create_directories(dir + "in");
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var DIR = \"" + dir + "\", SMTP_PORT = " + std::to_string(peers.smtp_port()) +
                       ", POP3_PORT = " + std::to_string(peers.pop3_port()) + ";\n" + R"(
    var smtp = new SMTP("127.0.0.1", SMTP_PORT);
    smtp.timeout = 10;
    smtp.mail.From = "Kestrin <kestrin@example.com>";
    smtp.mail.To = "test@example.com";
    smtp.mail.Subject = "script test";
    smtp.mail.message = "line one\nline two";
    smtp.mail.attachments.add(DIR + "note.txt");
    smtp.mail.attachments.add(DIR + "second.txt");
    println(smtp.mail.attachments.count);
    smtp.connect();
    smtp.sendMail();
    smtp.disconnect();

    var pop = new POP3("127.0.0.1", POP3_PORT);
    pop.userid = "test";
    pop.password = "secret";
    pop.attachPath = DIR + "in";
    pop.timeout = 10;
    var deleted = 0;
    pop.onSuccess = function (sender) { deleted++; };
    pop.connect();
    println(pop.mailCount + " " + pop.length);
    var m = pop.getMail(1);
    println((m === pop.mail) + " " + m.Subject + " " + m["subject"] + " [" + m.message + "]");
    println(m.attachments.count + " " + m.attachments[0].substring(DIR.length) + " " + m.number + " " + (m.length > 100));
    pop.delete(1);
    pop.disconnect();
    println(deleted);
    try { pop.getMail(); } catch (e) { println("no index: " + e); }
    pop.getMail(1);
  )"),
            "2\n"
            "1 1\n"
            "true script test script test [line one\nline two]\n"
            "2 in/note.txt 1 true\n"
            "1\n"
            "no index: ESocketError\n"
            "error: Exception: ESocketError(32) => POP3.getMail\n");
  std::string text;
  EXPECT_TRUE(read_file_bytes(dir + "in/note.txt", text));
  EXPECT_EQ(text, "attached note\n");
}

TEST(SocketObjects, FtpThroughAScript) {
  test::FtpPeer peer;
  KESTRIN_START_PROTOCOL_PEER(peer);
  test::TempDir local;
  ASSERT_TRUE(write_file_bytes(local.file("up.txt"), "uploaded by a script\n"));
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var LOCAL = \"" + local.file("") + "\", PORT = " + std::to_string(peer.port()) + ";\n" + R"(
    var f = new FTP("127.0.0.1", PORT);
    f.timeout = 10;
    f.passiveMode = true;
    f.login("test", "secret");
    var pwd = f.printWorkDir();
    println(pwd + " " + f.currentDir + " " + f.list().length);
    f.makeDir("sub");
    f.changeDir("sub");
    f.upload(LOCAL + "up.txt", "up.txt");
    var entries = f.list();
    var e = entries[0];
    println(entries.length + " " + e.name + " " + e.fileType + " " + e.size + " " + e.length + " " + typeof(e.lastModified));
    println(f.nlist()[0].name);
    f.changeDir("/");
    var found = f.findFiles("/", "*.TXT", true);
    println(found.count + " " + found[0]);
    f.download("/sub/up.txt", LOCAL + "down.txt");
    var outcomes = [];
    f.onSuccess = function (sender, op) { outcomes.push(op); };
    f.onFailure = function (sender, handled, op) { outcomes.push("failed " + op); handled.bool = true; };
    println(f.delete("nothing.txt") === f);
    f.rename("/sub/up.txt", "/sub/moved.txt");
    println(outcomes);
    f.removeKey("onFailure");
    try { f.delete("nothing.txt"); } catch (err) { println("unhandled: " + err); }
    try { f.changeDir(); } catch (err) { println("missing: " + err); }
    println(f.command("NOOP"));
    f.quit();
    f.rename("a", "b");
  )"),
            "/ / 0\n"
            "1 up.txt - 21 21 object\n"
            "up.txt\n"
            "1 /sub/up.txt\n"
            "true\n"
            "failed cmdDelete,cmdRename\n"
            "unhandled: ESocketError\n"
            "missing: ESocketError\n"
            "200 I successfully did nothing'.\n"
            "error: Exception: ESocketError(31) => FTP.rename error\n");
  std::string text;
  EXPECT_TRUE(read_file_bytes(local.file("down.txt"), text));
  EXPECT_EQ(text, "uploaded by a script\n");
}

}  // namespace
}  // namespace kestrin::script
