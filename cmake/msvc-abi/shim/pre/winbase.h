/* Wrapper: wine's winbase.h plus the inline thread-pool environment functions of the Windows SDK.
 */
#include_next <winbase.h>
#ifndef __TALLYROOK_WINBASE_FIXUPS
#define __TALLYROOK_WINBASE_FIXUPS
static __inline void InitializeThreadpoolEnvironment(PTP_CALLBACK_ENVIRON env) {
  env->Version = 1; /* wine typedefs TP_CALLBACK_ENVIRON as the V1 layout */
  env->Pool = NULL;
  env->CleanupGroup = NULL;
  env->CleanupGroupCancelCallback = NULL;
  env->RaceDll = NULL;
  env->ActivationContext = NULL;
  env->FinalizationCallback = NULL;
  env->u.Flags = 0;
}
static __inline void DestroyThreadpoolEnvironment(PTP_CALLBACK_ENVIRON env) {
  (void)env;
}
static __inline void SetThreadpoolCallbackPool(PTP_CALLBACK_ENVIRON env, PTP_POOL pool) {
  env->Pool = pool;
}
static __inline void SetThreadpoolCallbackCleanupGroup(PTP_CALLBACK_ENVIRON env,
                                                       PTP_CLEANUP_GROUP cg,
                                                       PTP_CLEANUP_GROUP_CANCEL_CALLBACK cb) {
  env->CleanupGroup = cg;
  env->CleanupGroupCancelCallback = cb;
}
static __inline void SetThreadpoolCallbackRunsLong(PTP_CALLBACK_ENVIRON env) {
  env->u.s.LongFunction = 1;
}
static __inline void SetThreadpoolCallbackLibrary(PTP_CALLBACK_ENVIRON env, PVOID mod) {
  env->RaceDll = mod;
}
#endif
