// The network library for scripts: registers its classes with an engine.
#pragma once

namespace kestrin::script {

class TJEngine;

// "URL", "Cookie", "HTTP", "HTTPS", "TCPSocket", in that order. "Request" and "Response"
// are values that the HTTP objects make; they are not registered.
void RegisterSocketObjects(TJEngine& engine);

}  // namespace kestrin::script
