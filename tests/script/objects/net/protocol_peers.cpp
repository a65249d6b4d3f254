// Starting pyftpdlib, aiosmtpd and dovecot for one test.
#include "protocol_peers.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kestrin::test {
namespace {

const char* kPython = "/usr/bin/python3";

bool fail(std::string* why, const std::string& reason) {
  if (why) *why = reason;
  return false;
}

// Dovecot refuses to give mail access to root: as root the mail user is the "dovecot"
// system user, else whoever runs the test.
bool mail_owner(uid_t& uid, gid_t& gid) {
  if (::geteuid() != 0) {
    uid = ::geteuid();
    gid = ::getegid();
    return true;
  }
  const passwd* user = ::getpwnam("dovecot");
  if (!user) return false;
  uid = user->pw_uid;
  gid = user->pw_gid;
  return true;
}

bool chown_tree(const std::string& path, uid_t uid, gid_t gid) {
  bool ok = ::chown(path.c_str(), uid, gid) == 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
    ok = ::chown(entry.path().c_str(), uid, gid) == 0 && ok;
  return ok;
}

}  // namespace

bool FtpPeer::Start(std::string* why) {
  root_ = dir_.file("root/");
  std::filesystem::create_directories(root_);
  const uint16_t low = FreeLoopbackPort();
  const uint16_t high = static_cast<uint16_t>(std::min(65535, low + 100));
  const uint16_t port = FreeLoopbackPort();
  if (!server_.Start({kPython, "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", std::to_string(port), "-w", "-d", root_, "-u",
                      "test", "-P", "secret", "-r", std::to_string(low) + "-" + std::to_string(high)},
                     port, why))
    return false;
  return true;
}

bool MailPeers::Start(std::string* why) {
  uid_t uid = 0;
  gid_t gid = 0;
  if (!mail_owner(uid, gid)) return fail(why, "no dovecot user");
  if (!std::filesystem::exists("/usr/sbin/dovecot")) return fail(why, "dovecot is not installed");
  ::chmod(dir_.path().c_str(), 0755);  // the mail user walks through it
  const std::string home = dir_.file("mail");
  maildir_ = home + "/Maildir/";
  for (const char* sub : {"cur", "new", "tmp"}) std::filesystem::create_directories(maildir_ + sub);
  if (!chown_tree(home, uid, gid)) return fail(why, "cannot give the Maildir to the mail user");
  const std::string run = dir_.file("run");
  std::filesystem::create_directories(run);
  const uint16_t pop3_port = FreeLoopbackPort();
  std::ofstream(run + "/passwd") << "test:{PLAIN}secret:" << uid << ":" << gid << "::" << home << "\n";
  std::ofstream(run + "/dovecot.conf")
      << "protocols = pop3\nlisten = 127.0.0.1\nbase_dir = " << run << "/dovecot\nstate_dir = " << run
      << "/dovecot/state\nlog_path = " << run << "/dovecot.log\nssl = no\ndisable_plaintext_auth = no\n"
      << "auth_mechanisms = plain\nfirst_valid_uid = " << uid << "\nmail_location = maildir:~/Maildir\n"
      << "passdb {\n  driver = passwd-file\n  args = " << run << "/passwd\n}\n"
      << "userdb {\n  driver = passwd-file\n  args = " << run << "/passwd\n}\n"
      << "service pop3-login {\n  chroot =\n  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " << pop3_port
      << "\n  }\n}\nservice anvil {\n  chroot =\n}\n";
  if (!pop3_.Start({"/usr/sbin/dovecot", "-F", "-c", run + "/dovecot.conf"}, pop3_port, why)) return false;
  const uint16_t smtp_port = FreeLoopbackPort();
  return smtp_.Start({kPython, "-m", "aiosmtpd", "-n", "-l", "127.0.0.1:" + std::to_string(smtp_port), "-c",
                      "aiosmtpd.handlers.Mailbox", maildir_},
                     smtp_port, why);
}

}  // namespace kestrin::test
