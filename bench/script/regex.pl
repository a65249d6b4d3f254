#!/usr/bin/perl
# The workload of regex.js in Perl, timed beside it by run_bench.py.
use strict;
use warnings;

my @names = qw(alpha beta gamma delta epsilon);
my @lines;
for my $i (0 .. 99999) {
  push @lines, "item $i: $names[$i % 5] value " . ($i * 37 % 1000) . ", price " . ($i % 97) .
               " JPY; mail $names[($i * 3) % 5]\@example." . ($i % 2 ? "org" : "com");
}
my @all = split /\n/, join("\n", @lines), -1;
my ($n, $replaced) = (0, 0);
for my $line (@all) {
  (my $r = $line) =~ s/(\d+)/<$1>/g;
  $replaced += length $r;
  my $count = () = $line =~ /\d+/g;
  $n += $count;
  $count = () = $line =~ /[a-z]+/g;
  $n += $count;
  $n++ if $line =~ /price \d+ JPY/;
  $n++ if $line =~ /gamma|delta/;
}
print scalar(@all) . " $n $replaced\n";
