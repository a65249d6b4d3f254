// The network library for scripts: registers its classes with an engine.
#pragma once

namespace kestrin::script {

class TJEngine;

// "URL", "Cookie", "HTTP", "HTTPS", "TCPSocket", "Mail", "POP3", "SMTP", "HtmlTag",
// "HtmlParser", "FTP", in that order. "Request", "Response" and "FileProperty" are values
// that the other objects make; they are not registered.
void RegisterSocketObjects(TJEngine& engine);

}  // namespace kestrin::script
