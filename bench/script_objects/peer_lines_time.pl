# Times Perl on a text file: "all" reads every line into a list (my @l = <F>), "loop" reads
# them one by one (while (<F>)). Prints the median seconds over N runs.
use strict;
use warnings;
use Time::HiRes qw(time);

my ($path, $mode, $count) = @ARGV;
my @times;
for (1 .. $count) {
  open(my $f, '<:raw', $path) or die "$path: $!";
  my $start = time;
  if ($mode eq 'all') {
    my @l = <$f>;
  } else {
    my $n = 0;
    while (<$f>) { $n++; }
  }
  push @times, time - $start;
  close($f);
}
@times = sort { $a <=> $b } @times;
print $times[int(@times / 2)], "\n";
