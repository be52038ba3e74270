// File channels: text written, appended and read back, Input # and
// Write #, binary and random records with Get and Put, the file functions
// and VB6's trappable file errors.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "basic/files.h"
#include "harness.h"

namespace corvane {
namespace {

using testing::Program;
using testing::TempFolder;

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Output of Main run in the folder; a runtime error's log line ends it.
std::string run_in(const TempFolder& folder, const std::string& body,
                   std::vector<std::pair<std::string, std::string>> classes = {}) {
  Program p = testing::script("Sub Main()\n" + body + "\nEnd Sub\n", folder.path.string(), std::move(classes));
  p.run();
  file_table().close_all();
  return p.text();
}

TEST(Files, TextWrittenAppendedAndReadLineByLine) {
  TempFolder folder;
  EXPECT_EQ(run_in(folder,
                   "n = FreeFile\nOpen \"notes.txt\" For Output As #n\nPrint #n, \"first\"\nPrint #n, \"a\"; \"b\"; 3\n"
                   "Print #n, \"x\", \"y\"\nPrint #n, \"no end\";\nClose #n\n"
                   "Open \"notes.txt\" For Append As #1\nPrint #1, \" line\"\nPrint #1,\nClose 1\n"
                   "Open \"NOTES.TXT\" For Input As #2\nDo While Not EOF(2)\nLine Input #2, s\nDebug.Print \"[\" & s & \"]\"\n"
                   "Loop\nDebug.Print LOF(2)\nClose #2"),
            "[first]\n[ab3]\n[x             y]\n[no end line]\n[]\n44\n");
  // Windows line ends, and text in Windows-1252
  const std::string bytes = read_bytes(folder.path / "notes.txt");
  EXPECT_EQ(bytes.substr(0, 7), "first\r\n");
  EXPECT_EQ(run_in(folder, "Open \"e.txt\" For Output As #1\nPrint #1, \"café €\"\nClose #1\n"
                           "Open \"e.txt\" For Input As #1\nLine Input #1, s\nClose\nDebug.Print s & Len(s)"),
            "café €6\n");
  EXPECT_EQ(read_bytes(folder.path / "e.txt"), "caf\xe9 \x80\r\n");
}

TEST(Files, WriteAndInputRoundTrip) {
  TempFolder folder;
  EXPECT_EQ(run_in(folder,
                   "Open \"data.csv\" For Output As #1\nWrite #1, \"Smith, J\", 42, 2.5, True\nWrite #1, \"x\"\nClose #1\n"
                   "Dim name As String, age As Integer, ratio As Double, ok As Boolean\n"
                   "Open \"data.csv\" For Input As #1\nInput #1, name, age, ratio, ok\nInput #1, other\n"
                   "Debug.Print name & \"|\" & age & \"|\" & ratio & \"|\" & ok & \"|\" & other & \"|\" & EOF(1)\n"
                   "Input #1, more\nClose #1"),
            "Smith, J|42|2.5|True|x|True\nRuntime error in Main: Input past end of file\n");
  EXPECT_EQ(read_bytes(folder.path / "data.csv"), "\"Smith, J\",42,2.5,#TRUE#\r\n\"x\"\r\n");
}

TEST(Files, BinaryAndRandomRecordsWithGetAndPut) {
  TempFolder folder;
  const std::string types =
      "Type Person\nName As String * 8\nAge As Integer\nScore As Double\nEnd Type\n";
  Program p = testing::script(types + R"(
Sub Main()
  Dim p As Person, q As Person
  Open "people.dat" For Random As #1 Len = Len2()
  p.Name = "Ann" : p.Age = 31 : p.Score = 9.5
  Put #1, 1, p
  p.Name = "Bob" : p.Age = 42 : p.Score = 7.25
  Put #1, 2, p
  Get #1, 1, q
  Debug.Print Trim(q.Name) & " " & q.Age & " " & q.Score
  Get #1, 2, q
  Debug.Print Trim(q.Name) & " " & q.Age & " " & q.Score & " " & LOF(1)
  Close #1
  Dim n As Long, d As Double, s As String
  Open "raw.bin" For Binary As #2
  n = 305419896 : d = 0.5
  Put #2, , n
  Put #2, , d
  Put #2, , "hey"
  n = 0 : d = 0 : s = Space(3)
  Get #2, 1, n
  Get #2, , d
  Get #2, , s
  Debug.Print Hex(n) & " " & d & " " & s & " " & Seek(2) & " " & LOF(2)
  Close #2
End Sub
Function Len2()
  Len2 = 18
End Function
)",
                              folder.path.string());
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.text(), "Ann 31 9.5\nBob 42 7.25 36\n12345678 0.5 hey 16 15\n");
  // the record layout is VB6's: 8 text bytes, a 2-byte Integer, an 8-byte Double
  const std::string bytes = read_bytes(folder.path / "people.dat");
  ASSERT_EQ(bytes.size(), 36u);
  EXPECT_EQ(bytes.substr(0, 8), "Ann     ");
  EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 31);
  EXPECT_EQ(read_bytes(folder.path / "raw.bin").substr(0, 4), std::string("\x78\x56\x34\x12", 4));
  file_table().close_all();
}

TEST(Files, FileFunctionsAndPaths) {
  TempFolder folder;
  EXPECT_EQ(run_in(folder,
                   "MkDir \"sub\"\nOpen \"sub\\\\a.txt\" For Output As #1\nPrint #1, \"1\"\nClose\n"
                   "FileCopy \"sub\\\\a.txt\", \"sub\\\\b.txt\"\nName \"sub\\\\b.txt\" As \"sub\\\\c.txt\"\n"
                   "f = Dir(App.Path & \"\\\\sub\\\\*.txt\")\nDo While f <> \"\"\nDebug.Print f\nf = Dir\nLoop\n"
                   "Debug.Print FileLen(\"sub/c.txt\") & \" \" & (Dir(\"sub\\\\missing.txt\") = \"\")\n"
                   "Kill \"sub\\\\*.txt\"\nDebug.Print Dir(\"sub\\\\*.*\") = \"\"\nRmDir \"sub\""),
            "a.txt\nc.txt\n3 True\nTrue\n");
  EXPECT_FALSE(std::filesystem::exists(folder.path / "sub"));
}

TEST(Files, ErrorsAreVb6sTrappableErrors) {
  TempFolder folder;
  EXPECT_EQ(run_in(folder,
                   "On Error Resume Next\nOpen \"missing.txt\" For Input As #1\nDebug.Print Err.Number\n"
                   "Err.Clear\nPrint #7, \"x\"\nDebug.Print Err.Number & \" \" & Err.Description\n"
                   "Open \"a.txt\" For Output As #1\nOpen \"b.txt\" For Output As #1\nDebug.Print Err.Number\n"
                   "Line Input #1, s\nDebug.Print Err.Number\nClose #1\n"
                   "Open \"a.txt\" For Input As #1\nLine Input #1, s\nDebug.Print Err.Number\nClose\n"
                   "Kill \"nothing.txt\"\nDebug.Print Err.Number\n"
                   "Open \"nodir/x.txt\" For Output As #1\nDebug.Print Err.Number"),
            "53\n52 Bad file name or number\n55\n54\n62\n53\n76\n");
  EXPECT_EQ(run_in(folder, "Open \"missing.txt\" For Input As #1"),
            "Runtime error in Main: File not found: missing.txt\n");
}

TEST(ProgramSettings, KeptInOneTextFilePerApplication) {
  TempFolder folder;
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string previous = saved ? saved : "";
  setenv("XDG_CONFIG_HOME", folder.path.c_str(), 1);
  const std::filesystem::path file = folder.path / "corvane" / "program-settings" / "demo.ini";
  // The file holds sections of Key=Value lines, escapes written out; a
  // second save of a key (in any case) replaces its value.
  EXPECT_EQ(run_in(folder, "SaveSetting \"Demo\", \"Main\", \"Top\", 5\nSaveSetting \"Demo\", \"Main\", \"Text\", "
                           "\"a=b\\\" & vbLf & \"c\"\nSaveSetting \"Demo\", \"Other\", \"K\", \"v\"\n"
                           "SaveSetting \"demo\", \"MAIN\", \"top\", 7"),
            "");
  EXPECT_EQ(read_bytes(file), "[Main]\nTop=7\nText=a\\=b\\\\\\nc\n[Other]\nK=v\n");
  // A file written by hand (or by a natively built program) reads back.
  std::ofstream(file) << "[Window]\r\nLeft=12\r\nNote=x\\ny\\=z\r\nnot a setting\r\n";
  EXPECT_EQ(run_in(folder, "Debug.Print GetSetting(\"Demo\", \"window\", \"LEFT\") + 1\n"
                           "Debug.Print GetSetting(\"Demo\", \"Window\", \"Note\") = \"x\" & vbLf & \"y=z\"\n"
                           "Debug.Print GetSetting(\"Demo\", \"Window\", \"Gone\", \"fallback\")\n"
                           "a = GetAllSettings(\"Demo\", \"Window\")\nDebug.Print UBound(a, 1) & UBound(a, 2) & a(1, 0)\n"
                           "Debug.Print IsEmpty(GetAllSettings(\"Demo\", \"None\"))\nDeleteSetting \"Demo\", \"Window\", \"Left\"\n"
                           "Debug.Print GetSetting(\"Demo\", \"Window\", \"Left\", \"-\")\nDeleteSetting \"Demo\", \"Nowhere\""),
            "13\nTrue\nfallback\n11Note\nTrue\n-\n"
            "Runtime error in Main: Invalid procedure call or argument: DeleteSetting\n");
  // An application name is a file name, never a path.
  EXPECT_EQ(run_in(folder, "SaveSetting \"../x\", \"S\", \"K\", 1\nDebug.Print GetSetting(\"../x\", \"S\", \"K\")"), "1\n");
  EXPECT_TRUE(std::filesystem::exists(folder.path / "corvane" / "program-settings" / ".._x.ini"));
  if (saved) setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace corvane
