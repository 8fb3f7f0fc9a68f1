// Whether the tests run under ThreadSanitizer, which ends a child of a
// threaded parent as soon as the child starts threads of its own: the fork
// tests step aside there.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define VYR_UNDER_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VYR_UNDER_THREAD_SANITIZER 1
#endif
#endif
#ifndef VYR_UNDER_THREAD_SANITIZER
#define VYR_UNDER_THREAD_SANITIZER 0
#endif
