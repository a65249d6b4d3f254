// The network objects as scripts see them: URL and Cookie on their own, HTTP against the
// route server on loopback, and a TCPSocket that talks to itself.
#include <gtest/gtest.h>

#include <string>

#include "net_peers.h"
#include "script/objects/script_runner.h"

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

}  // namespace
}  // namespace kestrin::script
