#!/usr/bin/perl
# Counts the matches of each pattern in a text the way a script would:
#   $n++ while $t =~ /$p/g
# Usage: perl_count.pl TEXT_FILE REPETITIONS < patterns (one per line).
# Prints per pattern "count median_seconds".
use strict;
use warnings;
use Time::HiRes qw(time);

my ($file, $repetitions) = @ARGV;
open(my $fh, '<:raw', $file) or die "cannot read $file\n";
my $t = do { local $/; <$fh> };
close $fh;
while (my $pattern = <STDIN>) {
  chomp $pattern;
  my $p = qr/$pattern/;
  my ($count, @times);
  for (1 .. $repetitions) {
    my $n = 0;
    my $start = time;
    $n++ while $t =~ /$p/g;
    push @times, time - $start;
    $count = $n;
  }
  @times = sort { $a <=> $b } @times;
  printf "%d %.6f\n", $count, $times[int(@times / 2)];
}
