/* Proves that tarq.h is a C header and that the C interface links and runs from C. */
#include <stdio.h>
#include <string.h>

#include "tarq.h"

static int failures = 0;

#define EXPECT(cond)                                                  \
  do {                                                                \
    if (!(cond)) {                                                    \
      fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                     \
    }                                                                 \
  } while (0)

/* The parameter table is plain preprocessor text: C code can build its own list from it. */
struct NamedKind {
  const char* name;
  int kind;
};
static const struct NamedKind kTable[] = {
#define TARQ_PARAM_ENTRY(name, kind, advanced, def, min, max) {#name, kind},
#include "tarq_params.def"
};

static void CheckParameters(tarq_prob* prob) {
  size_t i;
  int type = 0;
  int ivalue = 0;
  double dvalue = 0;
  EXPECT(sizeof kTable / sizeof kTable[0] == 600);
  for (i = 0; i < sizeof kTable / sizeof kTable[0]; ++i) {
    type = -5;
    EXPECT(TARQ_SearchParamAttr(NULL, kTable[i].name, &type) == TARQ_RETCODE_OK);
    EXPECT(type == kTable[i].kind);
  }
  EXPECT(TARQ_SearchParamAttr(NULL, "NoSuchName", &type) == TARQ_RETCODE_INVALID && type == -1);
  EXPECT(TARQ_SetDblParam(prob, "timelimit", 60.0) == TARQ_RETCODE_OK);
  EXPECT(TARQ_GetDblParam(prob, "TimeLimit", &dvalue) == TARQ_RETCODE_OK && dvalue == 60.0);
  EXPECT(TARQ_GetIntParamMax(prob, "Logging", &ivalue) == TARQ_RETCODE_OK && ivalue == 1);
  EXPECT(TARQ_GetIntParam(prob, "TimeLimit", &ivalue) == TARQ_RETCODE_INVALID);
  EXPECT(TARQ_ResetParam(prob) == TARQ_RETCODE_OK);
  EXPECT(TARQ_GetDblParamDef(prob, "TimeLimit", &dvalue) == TARQ_RETCODE_OK && dvalue == 1e30);
}

int main(void) {
  char text[1024];
  tarq_env* env = NULL;
  tarq_envconfig* config = NULL;
  tarq_prob* prob = NULL;
  tarq_prob* copy = NULL;

  EXPECT(TARQ_GetBanner(text, (int)sizeof text) == TARQ_RETCODE_OK);
  EXPECT(strncmp(text, "Tarq Optimizer", 14) == 0);
  EXPECT(TARQ_GetRetcodeMsg(TARQ_RETCODE_INVALID, text, (int)sizeof text) == TARQ_RETCODE_OK);

  EXPECT(TARQ_CreateEnvConfig(&config) == TARQ_RETCODE_OK);
  EXPECT(TARQ_SetEnvConfig(config, "LogToConsole", "0") == TARQ_RETCODE_OK);
  EXPECT(TARQ_SetEnvConfig(config, "Unknown", "0") == TARQ_RETCODE_INVALID);
  EXPECT(TARQ_CreateEnvWithConfig(config, &env) == TARQ_RETCODE_OK);
  EXPECT(TARQ_DeleteEnvConfig(&config) == TARQ_RETCODE_OK && config == NULL);

  EXPECT(TARQ_CreateProb(env, &prob) == TARQ_RETCODE_OK);
  CheckParameters(prob);
  EXPECT(TARQ_CreateCopy(prob, &copy) == TARQ_RETCODE_OK);
  EXPECT(TARQ_ClearProb(copy) == TARQ_RETCODE_OK);
  EXPECT(TARQ_DeleteProb(&copy) == TARQ_RETCODE_OK && copy == NULL);
  EXPECT(TARQ_DeleteProb(&prob) == TARQ_RETCODE_OK && prob == NULL);
  EXPECT(TARQ_CloseEnv(&env) == TARQ_RETCODE_OK);
  EXPECT(TARQ_DeleteEnv(&env) == TARQ_RETCODE_OK && env == NULL);

  if (failures == 0) printf("C interface: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
