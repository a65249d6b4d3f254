/* The shared library of the native-call tests: one function per type letter, out-cells,
   strings, arguments passed on the stack, a name exported only with the "A" suffix, packed
   and naturally aligned records with their C layout, a comparator for qsort, and a flag
   written when the library is unloaded. */
#include <stddef.h>
#include <stdint.h>
#include <string.h>
#include <wchar.h>

#define EXPORT __attribute__((visibility("default")))

/* By value: each returns what it received, changed a little so a lost argument shows. */
EXPORT int dt_c(unsigned char v) { return v; }
EXPORT int dt_t(short v) { return v; }
EXPORT int dt_l(int v) { return v + 1; }
EXPORT unsigned dt_u(unsigned v) { return v; }
EXPORT int dt_b(int v) { return v; }
EXPORT int64_t dt_h(int64_t v) { return v * 2; }
EXPORT void* dt_p(void* v) { return (char*)v + 1; }
EXPORT float dt_f(float v) { return v * 2; }
EXPORT double dt_d(double v) { return v / 4; }
EXPORT int64_t dt_i(int64_t v) { return v + 1; }
/* A full 32-bit result, declared with the one-byte result letter. */
EXPORT int dt_r_c(void) { return 0x12345678; }

/* Out-cells: each changes its cell and answers 1, or 0 for a NULL cell. */
EXPORT int dt_cell1(uint8_t* p) { if (!p) return 0; *p = (uint8_t)(*p + 200); return 1; }
EXPORT int dt_cell2(int16_t* p) { if (!p) return 0; *p = (int16_t)(-*p - 1); return 1; }
EXPORT int dt_cell4(int32_t* p) { if (!p) return 0; *p = *p * 3; return 1; }
EXPORT int dt_cell8(int64_t* p) { if (!p) return 0; *p = *p * 1000000; return 1; }

/* Strings. */
EXPORT int dt_s_len(const char* s) { return s ? (int)strlen(s) : -1; }
EXPORT const char* dt_s_upper(const char* s) {
  static char out[64];
  size_t i = 0;
  for (; s && s[i] && i + 1 < sizeof out; ++i) out[i] = (char)(s[i] >= 'a' && s[i] <= 'z' ? s[i] - 32 : s[i]);
  out[i] = 0;
  return out;
}
EXPORT int dt_w_len(const wchar_t* s) { return s ? (int)wcslen(s) : -1; }
EXPORT int dt_w_first(const wchar_t* s) { return s && s[0] ? (int)s[0] : -1; }
EXPORT const wchar_t* dt_w_kana(void) { return L"\x30AB\x30CA-ok"; }
EXPORT const char* dt_null_s(void) { return NULL; }
EXPORT const wchar_t* dt_null_w(void) { return NULL; }
/* "ls": the second argument, missing from the call, arrives as NULL. */
EXPORT int dt_second(int a, const char* s) { return s ? a + (int)strlen(s) : -a; }

/* More integer and double arguments than registers: each position has its own weight. */
EXPORT int64_t dt_many_ints(int a, int b, int c, int d, int e, int f, int g, int h) {
  return a + 10LL * b + 100LL * c + 1000LL * d + 10000LL * e + 100000LL * f + 1000000LL * g + 10000000LL * h;
}
EXPORT double dt_many_doubles(double a, double b, double c, double d, double e, double f, double g, double h,
                              double i, double j) {
  return a + 2 * b + 4 * c + 8 * d + 16 * e + 32 * f + 64 * g + 128 * h + 256 * i + 512 * j;
}
EXPORT double dt_mixed(int a, double b, int c, double d, int e, double f, int g, double h, int i, double j, int k,
                       double l, int m, double n, int o, double p, int q, double r) {
  return a + b * 2 + c * 3 + d * 4 + e * 5 + f * 6 + g * 7 + h * 8 + i * 9 + j * 10 + k * 11 + l * 12 + m * 13 +
         n * 14 + o * 15 + p * 16 + q * 17 + r * 18;
}

/* Exported only with the suffix: a script registers it as "dt_only". */
EXPORT int dt_onlyA(void) { return 65; }

/* A packed record with one member of every Struct type, in the order of dt_member. */
struct __attribute__((packed)) dt_packed {
  char name[6];
  uint8_t c;
  int16_t t;
  int32_t l;
  uint32_t u;
  int64_t h;
  void* p;
  const char* s;
  const wchar_t* w;
  int64_t i;
  int32_t b;
  float f;
  double d;
};

#define DT_MEMBER(rec, field) { offsetof(struct rec, field), sizeof(((struct rec*)0)->field) }
static const size_t dt_packed_layout[][2] = {
    DT_MEMBER(dt_packed, name), DT_MEMBER(dt_packed, c), DT_MEMBER(dt_packed, t), DT_MEMBER(dt_packed, l),
    DT_MEMBER(dt_packed, u),    DT_MEMBER(dt_packed, h), DT_MEMBER(dt_packed, p), DT_MEMBER(dt_packed, s),
    DT_MEMBER(dt_packed, w),    DT_MEMBER(dt_packed, i), DT_MEMBER(dt_packed, b), DT_MEMBER(dt_packed, f),
    DT_MEMBER(dt_packed, d)};

EXPORT int dt_packed_count(void) { return (int)(sizeof dt_packed_layout / sizeof dt_packed_layout[0]); }
EXPORT int dt_packed_offset(int member) { return (int)dt_packed_layout[member][0]; }
EXPORT int dt_packed_size(int member) { return (int)dt_packed_layout[member][1]; }
EXPORT int dt_packed_sizeof(void) { return (int)sizeof(struct dt_packed); }

EXPORT void dt_packed_fill(struct dt_packed* r) {
  static const char text[] = "filled";
  static const wchar_t wide[] = L"wide";
  memcpy(r->name, "abcde", 6);
  r->c = 250;
  r->t = -1234;
  r->l = -123456789;
  r->u = 123456789;
  r->h = 0x123456789ALL;
  r->p = (void*)r;
  r->s = text;
  r->w = wide;
  r->i = -9876543210LL;
  r->b = 7;
  r->f = 1.5f;
  r->d = -2.25;
}

/* Bit k set when member k holds what the script wrote (see the Struct tests). */
EXPORT int dt_packed_check(const struct dt_packed* r) {
  int ok = 0;
  ok |= (memcmp(r->name, "xyz", 4) == 0) << 0;
  ok |= (r->c == 200) << 1;
  ok |= (r->t == -300) << 2;
  ok |= (r->l == -70000) << 3;
  ok |= (r->u == 4000000000u) << 4;
  ok |= (r->h == 0x200000001LL) << 5;
  ok |= (r->p == (void*)0x7f0000001000LL) << 6;
  ok |= (r->s && strcmp(r->s, "text") == 0) << 7;
  ok |= (r->w && wcscmp(r->w, L"wide") == 0) << 8;
  ok |= (r->i == -5000000000LL) << 9;
  ok |= (r->b == 1) << 10;
  ok |= (r->f == 0.75f) << 11;
  ok |= (r->d == 1e100) << 12;
  return ok;
}

/* A naturally aligned record, which a script matches with padding members of its own. */
struct dt_natural {
  char c;
  int32_t l;
  double d;
  int16_t t;
};
static const size_t dt_natural_layout[][2] = {DT_MEMBER(dt_natural, c), DT_MEMBER(dt_natural, l),
                                               DT_MEMBER(dt_natural, d), DT_MEMBER(dt_natural, t)};
EXPORT int dt_natural_offset(int member) { return (int)dt_natural_layout[member][0]; }
EXPORT int dt_natural_sizeof(void) { return (int)sizeof(struct dt_natural); }
EXPORT void dt_natural_fill(struct dt_natural* r) {
  r->c = 'k';
  r->l = 42;
  r->d = 0.5;
  r->t = -7;
}

/* A comparator for qsort over 32-bit integers, reached through its address. */
static int dt_compare_ints(const void* a, const void* b) {
  int32_t x = *(const int32_t*)a, y = *(const int32_t*)b;
  return (x > y) - (x < y);
}
EXPORT void* dt_int_comparator(void) { return (void*)dt_compare_ints; }

/* The library's destructor writes 1 into the cell given here. */
static int* dt_unload_flag;
EXPORT void dt_set_unload_flag(int* flag) { dt_unload_flag = flag; }
__attribute__((destructor)) static void dt_unloaded(void) {
  if (dt_unload_flag) *dt_unload_flag = 1;
}
