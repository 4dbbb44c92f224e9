#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/file_names.h"
#include "model/model_fixture.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    dir_ = fs::temp_directory_path() / ("tarq_files_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    Tarq::detail::ResolveFileName("first");  // fixes the start directory before any test moves away
  }
  void TearDown() override {
    fs::remove_all(dir_);
    ModelTest::TearDown();
  }
  std::string Path(const std::string& leaf) const { return (dir_ / leaf).string(); }
  void BuildSmall() {
    Own<Tarq::IVarArray> vars(model_->AddVars(3, 0.0, 4.0, 1.0, 'I', "x"));
    Own<Tarq::IExpr> e(CreateExpr(0));
    e->AddTerms(vars.get(), 2.0);
    Own<Tarq::IConstraint> c(model_->AddConstr(e.get(), 'L', 7, "cap"));
    ASSERT_EQ(Code(), 0) << Msg();
  }
  fs::path dir_;
};

TEST(FileSuffix, MatchesTrimmedNamesWithoutRegardToCase) {
  using Tarq::detail::HasSuffix;
  EXPECT_TRUE(HasSuffix("model.MPS.GZ ", ".mps.gz"));
  EXPECT_TRUE(HasSuffix(" a.lp", " .LP "));
  EXPECT_FALSE(HasSuffix(".lp", ".lp.gz"));
  EXPECT_FALSE(HasSuffix("model.lp", ""));
  EXPECT_FALSE(HasSuffix(nullptr, ".lp"));
  EXPECT_FALSE(HasSuffix("model.lp", nullptr));
}

TEST_F(FilesTest, DispatchersChooseBySuffix) {
  BuildSmall();
  model_->Write(Path("out.LP").c_str());
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_TRUE(fs::exists(dir_ / "out.LP"));
  model_->Write(Path("out.lp.gz").c_str());
  EXPECT_FALSE(fs::exists(dir_ / "out.lp.gz")) << "compressed forms are not write suffixes";
  model_->SetIntParam("Threads", 100000);  // leaves a failure in the status
  const std::string before = Msg();
  model_->Write(Path("out.xyz").c_str());
  EXPECT_EQ(Msg(), before) << "a name of no kind records nothing";
  EXPECT_FALSE(fs::exists(dir_ / "out.xyz"));

  model_->Read(Path("model.unknown").c_str());
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(Msg(), "(INVALID) Unknown file type");

  model_->WriteSol("");
  EXPECT_EQ(Msg(), "(INVALID) Fail to write to solution file");
  model_->WriteMps(nullptr);
  EXPECT_EQ(Msg(), "(INVALID) Fail to write to MPS file");
  model_->ReadMps("   ");
  EXPECT_EQ(Code(), 2) << "a name that resolves to nothing";
  model_->ReadLp(Path("missing.lp").c_str());
  EXPECT_EQ(Msg(), "(FILE) Failed to read LP file");
}

TEST_F(FilesTest, ReadingAProblemReplacesTheModelsObjects) {
  BuildSmall();
  Own<Tarq::IVar> old(model_->GetVar(0));
  model_->WriteMps(Path("small.mps").c_str());
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  other->Read(Path("small.mps").c_str());
  ASSERT_EQ(other->GetErrorCode(), 0);
  EXPECT_EQ(other->GetIntAttr("Cols"), 3);
  EXPECT_EQ(other->GetIntAttr("Rows"), 1);
  EXPECT_EQ(other->GetIntAttr("Ints"), 3);
  Own<Tarq::IVar> x2(other->GetVarByName("x_2"));
  EXPECT_EQ(x2->GetIdx(), 2);
  EXPECT_EQ(x2->Get("UB"), 4);
  Own<Tarq::IConstraint> cap(other->GetConstrByName("cap"));
  Own<Tarq::IExpr> row(other->GetRow(cap.get()));
  EXPECT_STREQ(row->ToString(100), "2 * x_0 + 2 * x_1 + 2 * x_2");

  Own<Tarq::IVar> removed(model_->GetVar(1));
  removed->Remove();
  model_->Read(Path("small.mps").c_str());
  EXPECT_EQ(old->GetIdx(), -2) << "objects held from before stand for nothing";
  EXPECT_EQ(removed->GetIdx(), -4) << "a removed object keeps its former position";
  EXPECT_EQ(model_->GetIntAttr("Cols"), 3);
}

TEST_F(FilesTest, NamesResolveAgainstTheFirstDirectoryAndTheHomeVariables) {
  BuildSmall();
  const fs::path start = fs::current_path();
  fs::current_path(dir_);
  const std::string leaf = "tarq_relative_" + std::to_string(::getpid()) + ".lp";
  model_->Write(leaf.c_str());
  fs::current_path(start);
  EXPECT_TRUE(fs::exists(start / leaf)) << "relative to the directory of the first resolution";
  EXPECT_FALSE(fs::exists(dir_ / leaf));
  fs::remove(start / leaf);

  const fs::path home = dir_ / "home";
  fs::create_directories(home);
  ::setenv("HOMEDRIVE", "", 1);
  ::setenv("HOMEPATH", home.c_str(), 1);
  model_->Write("~/model.lp");
  EXPECT_TRUE(fs::exists(home / "model.lp"));
  ::unsetenv("HOMEDRIVE");
  ::unsetenv("HOMEPATH");
}

TEST_F(FilesTest, MpsTextGoesIntoAGrowingBuffer) {
  Own<Tarq::IProbBuffer> empty(CreateProbBuffer(0));
  EXPECT_EQ(empty->GetSize(), 1u);
  empty->Resize(9);
  EXPECT_EQ(empty->GetSize(), 10u);
  EXPECT_EQ(empty->GetData()[9], '\0');
  Own<Tarq::IProbBuffer> none(CreateProbBuffer(-1));
  EXPECT_EQ(none->GetSize(), 0u);

  BuildSmall();
  Own<Tarq::IProbBuffer> buffer(CreateProbBuffer(4));
  model_->WriteMpsStr(buffer.get());
  ASSERT_EQ(Code(), 0) << Msg();
  const std::string text(buffer->GetData());
  EXPECT_GT(buffer->GetSize(), 5u);
  EXPECT_NE(text.find("ROWS"), std::string::npos);
  EXPECT_NE(text.find("cap"), std::string::npos);
  model_->WriteMps(Path("same.mps").c_str());
  std::ifstream in(Path("same.mps"));
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, file) << "the same text as the file";
  model_->WriteMpsStr(nullptr);
  EXPECT_EQ(Code(), 0);
}

}  // namespace

namespace {

class LineSink : public Tarq::ILogCallback {
 public:
  void Display(const char* msg) override { lines.emplace_back(msg); }
  std::vector<std::string> lines;
};

// The model records a short failure; the solver library's line with the file, the place and the
// fault still reaches the model's log.
TEST_F(FilesTest, FailedReadsLeaveTheDetailedLineInTheLog) {
  BuildSmall();
  LineSink sink;
  ASSERT_EQ(model_->SetLogCallback(&sink), 0);
  std::ofstream(Path("bad.mps")) << "NAME t\nROWS\n N obj\nCOLUMNS\n x obj 1.5.2\nENDATA\n";
  std::ofstream(Path("bad.par")) << "Threads 2\nNoSuchThing 1\n";
  std::ofstream(Path("cut.sol.gz"), std::ios::binary) << std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
  struct Case {
    std::string file;
    const char* status;
    std::string line;
  } cases[] = {
      {Path("bad.mps"), "(INVALID) Failed to read MPS file",
       "Failed to read MPS file \"" + Path("bad.mps") + "\": line 5: bad number \"1.5.2\""},
      {Path("bad.par"), "(INVALID) Failed to read parameter file",
       "Parameter file \"" + Path("bad.par") + "\", line 2: unknown parameter \"NoSuchThing\""},
      {Path("cut.sol.gz"), "(FILE) Failed to read solution file",
       "Failed to read solution file \"" + Path("cut.sol.gz") + "\": the gzip data ends early (the file is truncated)"},
  };
  for (const Case& c : cases) {
    sink.lines.clear();
    model_->Read(c.file.c_str());
    EXPECT_EQ(Msg(), c.status) << c.file;
    EXPECT_EQ(sink.lines, std::vector<std::string>{c.line});
  }
  EXPECT_EQ(model_->GetIntAttr("Cols"), 3) << "the model is as it was";
}

}  // namespace
