#include "model/envr.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/tarq_model.h"
#include "tarq/tarq.hpp"

namespace {

class CollectingSink : public Tarq::ILogCallback {
 public:
  void Display(const char* msg) override { lines.emplace_back(msg); }
  std::vector<std::string> lines;
};

std::string Banner() {
  char buf[1024] = {};
  EXPECT_EQ(TARQ_GetBanner(buf, 1020), 0);
  return buf;
}

template <class T>
using Owned = std::unique_ptr<T>;

TEST(EnvrCreate, WithoutSinkPrintsBannerOnStandardOutput) {
  testing::internal::CaptureStdout();
  Owned<Tarq::IEnvr> env(CreateEnvr(nullptr));
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, Banner() + "\n");
  EXPECT_NE(out.find("Tarq Optimizer v8.0.1"), std::string::npos);
  EXPECT_EQ(env->GetErrorCode(), 0);
  EXPECT_EQ(env->GetErrorMsg(), nullptr);
}

TEST(EnvrCreate, WithSinkSendsBannerOnceAndPrintsNothing) {
  CollectingSink sink;
  testing::internal::CaptureStdout();
  Owned<Tarq::IEnvr> env(CreateEnvr(&sink));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(sink.lines.size(), 1u);
  EXPECT_EQ(sink.lines[0], Banner());
}

TEST(EnvrCreate, WithExistingPathSucceedsAndMissingPathFailsWithFileCode) {
  CollectingSink sink;
  auto dir = std::filesystem::temp_directory_path();
  Owned<Tarq::IEnvr> good(CreateEnvrWithPath(dir.c_str(), &sink));
  EXPECT_EQ(good->GetErrorCode(), 0);

  Owned<Tarq::IEnvr> bad(CreateEnvrWithPath("/no/such/tarq/dir", &sink));
  EXPECT_EQ(bad->GetErrorCode(), 2);
  EXPECT_STREQ(bad->GetErrorMsg(), "(FILE) Fail to create TARQ environment with path");
  EXPECT_EQ(sink.lines.size(), 2u) << "the banner is shown even when creation fails";

  // A model made in a failed environment has no problem.
  Owned<Tarq::IModel> model(bad->CreateModel("m"));
  EXPECT_EQ(model->GetErrorCode(), 1);
  EXPECT_STREQ(model->GetErrorMsg(), "(MEMORY) Critical: fail to create problem");
  // Closing the failed environment passes a null handle; the solver's code comes back.
  EXPECT_EQ(bad->Close(), 3);
}

TEST(EnvrConfig, RejectedSettingIsRecordedAndConfigStaysUsable) {
  Owned<Tarq::IEnvrConfig> config(CreateEnvrConfig());
  EXPECT_EQ(config->GetErrorCode(), 0);
  EXPECT_EQ(config->GetErrorMsg(), nullptr);
  config->Set("NoSuchSetting", "1");
  EXPECT_EQ(config->GetErrorCode(), 3);
  EXPECT_STREQ(config->GetErrorMsg(), "(INVALID) Fail to set TARQ environment config");
  config->Set("Banner", "maybe");
  EXPECT_EQ(config->GetErrorCode(), 3);
  config->Set(nullptr, "1");
  EXPECT_EQ(config->GetErrorCode(), 3);
  config->Set("LogToConsole", "0");
  EXPECT_EQ(config->GetErrorCode(), 0);
  EXPECT_STREQ(config->GetErrorMsg(), "(INVALID) Fail to set TARQ environment config");
}

TEST(EnvrConfig, BannerOffSuppressesBannerAndHomeDirIsChecked) {
  Owned<Tarq::IEnvrConfig> config(CreateEnvrConfig());
  config->Set("banner", "0");
  ASSERT_EQ(config->GetErrorCode(), 0);
  CollectingSink sink;
  testing::internal::CaptureStdout();
  Owned<Tarq::IEnvr> quiet(CreateEnvrWithConfig(config.get(), nullptr));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(quiet->GetErrorCode(), 0);

  config->Set("Banner", "1");
  config->Set("HomeDir", "/no/such/tarq/dir");
  Owned<Tarq::IEnvr> failed(CreateEnvrWithConfig(config.get(), &sink));
  EXPECT_EQ(sink.lines.size(), 1u);
  EXPECT_EQ(failed->GetErrorCode(), 2);
  EXPECT_STREQ(failed->GetErrorMsg(), "(FILE) Fail to create TARQ environment with config");
}

TEST(EnvrConfig, NullConfigGivesFailedEnvironmentWithoutBanner) {
  CollectingSink sink;
  Owned<Tarq::IEnvr> env(CreateEnvrWithConfig(nullptr, &sink));
  EXPECT_TRUE(sink.lines.empty());
  EXPECT_EQ(env->GetErrorCode(), 3);
  EXPECT_STREQ(env->GetErrorMsg(), "(INVALID) Fail to create TARQ environment with config");
}

TEST(EnvrLifetime, ModelKeepsSolverEnvironmentAliveAfterEnvironmentIsDestroyed) {
  CollectingSink sink;
  auto* env = CreateEnvr(&sink);
  Owned<Tarq::IModel> model(CreateModel(env, "kept"));
  ASSERT_EQ(model->GetErrorCode(), 0);
  auto& record = *static_cast<TarqModel*>(model.get())->Data().record;
  auto* holderBlock = record.env.Block();
  EXPECT_EQ(holderBlock->refs.load(), 2u);
  delete env;
  EXPECT_EQ(holderBlock->refs.load(), 1u);
  ASSERT_NE(record.env->handle, nullptr);
  // The solver environment still works: it can make a problem.
  tarq_prob* prob = nullptr;
  EXPECT_EQ(TARQ_CreateProb(record.env->handle, &prob), 0);
  EXPECT_EQ(TARQ_DeleteProb(&prob), 0);
  EXPECT_EQ(record.name, "kept");
}

TEST(EnvrClose, ClosedEnvironmentMakesNoMoreProblems) {
  CollectingSink sink;
  Owned<Tarq::IEnvr> env(CreateEnvr(&sink));
  Owned<Tarq::IModel> before(env->CreateModel(nullptr));
  EXPECT_EQ(before->GetErrorCode(), 0);
  EXPECT_EQ(env->Close(), 0);
  EXPECT_EQ(env->GetErrorCode(), 0) << "Close records nothing";
  Owned<Tarq::IModel> after(env->CreateModel("late"));
  EXPECT_EQ(after->GetErrorCode(), 1);
  EXPECT_EQ(env->Close(), 0) << "closing twice is allowed";
}

// An environment implementation of the caller's that forwards to one of ours.
class ForwardingEnvr : public Tarq::IEnvr {
 public:
  explicit ForwardingEnvr(Tarq::IEnvr* inner) : inner_(inner) {}
  Tarq::IModel* CreateModel(const char* name) override {
    ++calls;
    return inner_->CreateModel(name);
  }
  int Close() override { return inner_->Close(); }
  int GetErrorCode() const override { return inner_->GetErrorCode(); }
  const char* GetErrorMsg() const override { return inner_->GetErrorMsg(); }
  int calls = 0;

 private:
  Owned<Tarq::IEnvr> inner_;
};

TEST(ModelCreate, ExportAdoptsModelOfAForeignEnvironmentAndHandlesNull) {
  CollectingSink sink;
  ForwardingEnvr env(CreateEnvr(&sink));
  Owned<Tarq::IModel> model(CreateModel(&env, nullptr));
  EXPECT_EQ(env.calls, 1);
  EXPECT_EQ(model->GetErrorCode(), 0);
  auto& data = static_cast<TarqModel*>(model.get())->Data();
  EXPECT_EQ(static_cast<TarqModel*>(model.get())->Ref().Block()->refs.load(), 1u);
  EXPECT_NE(data.Problem(), nullptr);
  EXPECT_EQ(data.record->name, "");

  Owned<Tarq::IModel> orphan(CreateModel(nullptr, "x"));
  EXPECT_EQ(orphan->GetErrorCode(), 1);
  EXPECT_STREQ(orphan->GetErrorMsg(), "(MEMORY) Critical: fail to create problem");
}

}  // namespace
