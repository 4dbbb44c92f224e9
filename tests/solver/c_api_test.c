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
  EXPECT(TARQ_CreateCopy(prob, &copy) == TARQ_RETCODE_OK);
  EXPECT(TARQ_ClearProb(copy) == TARQ_RETCODE_OK);
  EXPECT(TARQ_DeleteProb(&copy) == TARQ_RETCODE_OK && copy == NULL);
  EXPECT(TARQ_DeleteProb(&prob) == TARQ_RETCODE_OK && prob == NULL);
  EXPECT(TARQ_CloseEnv(&env) == TARQ_RETCODE_OK);
  EXPECT(TARQ_DeleteEnv(&env) == TARQ_RETCODE_OK && env == NULL);

  if (failures == 0) printf("C interface: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
