// Saving under faults, as a shell user meets them: each case is a short
// script around qov-convert that exits 0 when nothing was lost. The scripts
// run as an unprivileged user, since root passes every permission check.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/TempDir.h"

namespace qov::test {
namespace {

struct SaveFault {
  const char* name;
  const char* script;
};

// Every script gets $CONVERT, $IN (a picture whose .bmp is about 230 kB),
// ref.bmp, ref.dxf and ref.txt (what good saves and exports of it write), and
// fail(). each() runs a command once per kind of output, with $op its option
// and $x its extension; old() puts 30000 old bytes at d/a.$x (also linked as
// d/b.$x with "linked"), and kept() checks that d holds them as they were and
// nothing else.
constexpr const char* kPrelude = R"sh(
fail() { echo "$*"; exit 1; }
"$CONVERT" "$IN" --save-bmp ref.bmp --dxf-crosses ref.dxf --vectorscript-all ref.txt ||
  fail "cannot write the references"
mkdir d
each() {
  for o in --save-bmp:bmp --dxf-crosses:dxf --vectorscript-all:txt; do
    op=${o%:*} x=${o#*:}; "$@"
  done
}
old() {
  rm -rf d; mkdir d; head -c 30000 /dev/urandom > d/a.$x; cp d/a.$x old.keep; n=1
  if [ "$1" = linked ]; then ln d/a.$x d/b.$x; n=2; fi
}
kept() {
  for f in d/*; do cmp $f old.keep || fail "$op $*: $f lost its old bytes"; done
  [ "$(ls -A d | wc -l)" = $n ] || fail "$op $*: left in d: $(ls -A d)"
}
# The address sanitizer's leak check cannot run under a tracer.
export ASAN_OPTIONS=detect_leaks=0
)sh";

const SaveFault kSaveFaults[] = {
    // A read-only folder makes the save write in place; the disk fills half way.
    {"InPlaceFailureRestoresTheOldBytes", R"sh(
t() {
  old; chmod 555 d
  (trap '' XFSZ; ulimit -f 16; exec "$CONVERT" "$IN" $op d/a.$x); s=$?
  chmod 755 d
  [ $s = 3 ] || fail "$op: exit status $s"
  kept
}
each t
)sh"},
    // Written in place or replaced, a target is whole and old after each fault.
    {"FileSizeLimitLeavesTheOldFile", R"sh(
t() {
  old $1
  (ulimit -f 16; exec "$CONVERT" "$IN" $op d/a.$x); s=$?
  [ $s != 0 ] || fail "$op $1: exit status $s"
  kept $1
}
each t alone; each t linked
)sh"},
    // Every write fails, so that the case does not depend on how many
    // writes a save takes.
    {"FullDiskLeavesTheOldFile", R"sh(
t() {
  old $1
  strace -f -qq -o /dev/null -e trace=write -e inject=write:error=ENOSPC \
    "$CONVERT" "$IN" $op d/a.$x; s=$?
  [ $s = 3 ] || fail "$op $1: exit status $s"
  kept $1
}
each t alone; each t linked
)sh"},
    {"SignalsLeaveTheOldFile", R"sh(
t() {
  for sig in TERM INT HUP; do
    old $1
    strace -f -qq -o /dev/null -e trace=write -e inject=write:signal=$sig:when=2 \
      "$CONVERT" "$IN" $op d/a.$x; s=$?
    [ $s -gt 128 ] || fail "$op $1 $sig: exit status $s"
    kept $1 $sig
  done
}
each t alone; each t linked
)sh"},
    {"HardLinksAllSeeTheNewPicture", R"sh(
t() {
  old linked
  "$CONVERT" "$IN" $op d/a.$x || fail "$op"
  cmp d/b.$x ref.$x || fail "$op: the other link kept the old picture"
}
each t
)sh"},
    {"SymbolicLinkKeepsPointingAtTheNewFile", R"sh(
t() {
  old; ln -s a.$x d/link.$x
  "$CONVERT" "$IN" $op d/link.$x || fail "$op"
  [ -L d/link.$x ] && cmp d/a.$x ref.$x || fail "$op: the link or its file"
  [ "$(ls -A d | wc -l)" = 2 ] || fail "$op: left in d: $(ls -A d)"
}
each t
)sh"},
    {"StandardOutputIsWrittenAsAStream", R"sh(
echo log > log.txt
"$CONVERT" "$IN" --save-bmp /dev/stdout >> log.txt || fail "save to a log"
{ echo log; cat ref.bmp; } | cmp - log.txt || fail "the log was replaced"
n=$("$CONVERT" "$IN" --save-bmp /dev/stdout | wc -c)
[ "$n" = "$(wc -c < ref.bmp)" ] || fail "$n bytes through a pipe"
)sh"},
    {"FifoIsWrittenAsAStream", R"sh(
mkfifo d/fifo.bmp; cat d/fifo.bmp > got.bmp & "$CONVERT" "$IN" --save-bmp d/fifo.bmp; s=$?; wait
[ $s = 0 ] || fail "exit status $s"
cmp got.bmp ref.bmp && [ -p d/fifo.bmp ] || fail "fifo"
)sh"},
    {"KilledSaveLeavesNoTemporary", R"sh(
(ulimit -f 16; exec "$CONVERT" "$IN" --save-bmp d/pic.bmp); s=$?
[ $s -gt 128 ] || fail "exit status $s"
[ -z "$(ls -A d)" ] || fail "left behind: $(ls -A d)"
)sh"},
    {"KilledWriteToStandardOutputLeavesNoTemporary", R"sh(
(ulimit -f 16; TMPDIR=$PWD/d exec "$CONVERT" "$IN" --save-bmp - > /dev/null); s=$?
[ $s -gt 128 ] || fail "exit status $s"
[ -z "$(ls -A d)" ] || fail "left behind: $(ls -A d)"
)sh"},
    {"FolderIsSyncedAfterTheRename", R"sh(
strace -f -qq -y -e trace=rename,renameat,renameat2,linkat,fsync -o trace \
  "$CONVERT" "$IN" --save-bmp d/pic.bmp || fail "save"
sed -n '/^[0-9]* *rename/,$p' trace | grep -q "fsync([0-9]*<$PWD/d>)" || fail "$(cat trace)"
)sh"},
    {"UmaskIsLeftAlone", R"sh(
umask 027
strace -f -qq -e trace=umask -o trace "$CONVERT" "$IN" --save-bmp d/new.bmp || fail "save"
[ ! -s trace ] || fail "$(cat trace)"
[ "$(stat -c %a d/new.bmp)" = 640 ] || fail "mode $(stat -c %a d/new.bmp)"
)sh"},
};

void PrintTo(const SaveFault& c, std::ostream* os) {
  *os << c.name;
}

class SaveFaults : public testing::TestWithParam<SaveFault> {};

// The sanitizers' runtime writes to a pipe of its own, and an injected
// write error there ends the program before it saves anything.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

TEST_P(SaveFaults, LoseNothing) {
  const bool asRoot = ::geteuid() == 0;
  const bool traced = std::string(GetParam().script).find("strace") != std::string::npos;
  if (kSanitized && std::string(GetParam().script).find("error=ENOSPC") != std::string::npos)
    GTEST_SKIP() << "write errors are injected into the sanitizers' writes too";
  if (asRoot && std::system("command -v setpriv >/dev/null") != 0)
    GTEST_SKIP() << "setpriv is needed to drop root's privileges";
  if (traced && std::system("command -v strace >/dev/null") != 0)
    GTEST_SKIP() << "strace is not installed";
  TempDir dir;
  ::chmod(dir.path().c_str(), 0777);
  std::ofstream(dir.File("script")) << kPrelude << GetParam().script;
  std::string command = "cd '" + dir.path().string() +
                        "' && CONVERT='" QOV_CONVERT_PATH "' IN='" QOV_SOURCE_DIR
                        "/res/samples/drawing-24.bmp' ";
  if (asRoot)
    command += "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
  command += "/bin/sh script >log 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFileBytes(dir.File("log"));
}

INSTANTIATE_TEST_SUITE_P(Saves, SaveFaults, testing::ValuesIn(kSaveFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qov::test
