#!/usr/bin/perl
# Regular-expression oracle for the TRegex tests. Reads one case per line:
#   hex(pattern) flags hex(subject) offset cp932
# where flags are Perl's (for example "aas" or "aasim"), offset is a byte offset into the
# subject and cp932 is 1 when pattern and subject are CP932 text to be matched as characters
# (0: every byte is a character). Prints one line per case: "-1" when nothing matches, "E"
# when Perl rejects the pattern, else the byte offsets "start end" of the match followed by
# "start end" of every group (-1 -1 for a group that did not take part).
use strict;
no warnings;
use Encode qw(decode encode);

$| = 1;
while (my $line = <STDIN>) {
  chomp $line;
  my ($hp, $flags, $hs, $offset, $cp932) = split / /, $line, -1;
  my $pattern = pack('H*', $hp);
  my $subject = pack('H*', $hs);
  if ($cp932) {
    $pattern = decode('cp932', $pattern);
    $subject = decode('cp932', $subject);
  }
  # Byte offsets to character offsets and back.
  my $to_bytes = sub {
    my ($chars) = @_;
    return $chars unless $cp932;
    return length(encode('cp932', substr($subject, 0, $chars)));
  };
  my $start = $offset;
  if ($cp932) {
    my $bytes = pack('H*', $hs);
    $start = length(decode('cp932', substr($bytes, 0, $offset)));
  }
  my $re = eval { qr/(?$flags)$pattern/ };
  if (!defined $re) {
    print "E\n";
    next;
  }
  pos($subject) = $start;
  if ($subject =~ /$re/g) {
    my @out = ($to_bytes->($-[0]), $to_bytes->($+[0]));
    for my $g (1 .. $#+) {
      if (defined $-[$g] && defined $+[$g]) {
        push @out, $to_bytes->($-[$g]), $to_bytes->($+[$g]);
      } else {
        push @out, -1, -1;
      }
    }
    print join(' ', @out), "\n";
  } else {
    print "-1\n";
  }
}
