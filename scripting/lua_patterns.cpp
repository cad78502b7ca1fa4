// The string library's pattern functions (find, match, gmatch, gsub) with
// Lua 5.1's semantics, counted against the instruction budget.
//
// The library's own matcher runs in C, out of the count hook's reach, and
// backtracks: a crafted pattern on a long subject runs for hours on every
// machine of a match. This matcher is the same algorithm, but every step
// (an entry into match, a character scanned by a repetition or a balance, a
// candidate of a plain search) is charged to the budget of the running
// call, so such a pattern ends with the usual "ran too long" error at the
// same step on every machine; and its recursion depth is bounded, so a long
// pattern cannot exhaust the C stack.
//
// Like Lua 5.1, a pattern ends at its first zero character. Nothing in the
// matcher owns memory: errors leave with longjmp.
#include "scripting/lua_patterns.h"

#include <lua.hpp>

#include <cctype>
#include <cstring>

#include "scripting/lua_state.h"

namespace {

constexpr char kEsc = '%';
constexpr const char* kSpecials = "^$*+?.([%-";
constexpr int kMaxCaptures = 32;
constexpr int kCapUnfinished = -1;
constexpr int kCapPosition = -2;
// Depth of match calls; each costs well under 200 bytes of C stack.
constexpr int kMaxDepth = 4000;
// Steps gathered before they are charged to the budget.
constexpr long kChargeEvery = 1000;

struct MatchState {
    const char* src_init;
    const char* src_end;
    lua_State* L;
    int level;
    int depth;
    long steps;
    struct {
        const char* init;
        ptrdiff_t len;
    } capture[kMaxCaptures];
};

inline unsigned char uc(char c) { return (unsigned char)c; }

void flush(MatchState* ms) {
    long s = ms->steps;
    ms->steps = 0;
    lua_charge(ms->L, s);
}

inline void step(MatchState* ms, long n = 1) {
    ms->steps += n;
    if (ms->steps >= kChargeEvery) flush(ms);
}

const char* match(MatchState* ms, const char* s, const char* p);

int check_capture(MatchState* ms, int l) {
    l -= '1';
    if (l < 0 || l >= ms->level || ms->capture[l].len == kCapUnfinished)
        return luaL_error(ms->L, "invalid capture index");
    return l;
}

int capture_to_close(MatchState* ms) {
    int level = ms->level;
    for (level--; level >= 0; level--)
        if (ms->capture[level].len == kCapUnfinished) return level;
    return luaL_error(ms->L, "invalid pattern capture");
}

const char* class_end(MatchState* ms, const char* p) {
    switch (*p++) {
    case kEsc:
        if (*p == '\0') luaL_error(ms->L, "malformed pattern (ends with '%%')");
        return p + 1;
    case '[':
        if (*p == '^') p++;
        do {
            if (*p == '\0') luaL_error(ms->L, "malformed pattern (missing ']')");
            if (*(p++) == kEsc && *p != '\0') p++;
        } while (*p != ']');
        return p + 1;
    default:
        return p;
    }
}

int match_class(int c, int cl) {
    int res;
    switch (std::tolower(cl)) {
    case 'a': res = std::isalpha(c); break;
    case 'c': res = std::iscntrl(c); break;
    case 'd': res = std::isdigit(c); break;
    case 'l': res = std::islower(c); break;
    case 'p': res = std::ispunct(c); break;
    case 's': res = std::isspace(c); break;
    case 'u': res = std::isupper(c); break;
    case 'w': res = std::isalnum(c); break;
    case 'x': res = std::isxdigit(c); break;
    case 'z': res = (c == 0); break;
    default: return cl == c;
    }
    if (std::isupper(cl)) res = !res;
    return res;
}

int match_bracket_class(int c, const char* p, const char* ec) {
    int sig = 1;
    if (*(p + 1) == '^') {
        sig = 0;
        p++;
    }
    while (++p < ec) {
        if (*p == kEsc) {
            p++;
            if (match_class(c, uc(*p))) return sig;
        } else if (*(p + 1) == '-' && p + 2 < ec) {
            p += 2;
            if (uc(*(p - 2)) <= c && c <= uc(*p)) return sig;
        } else if (uc(*p) == c) {
            return sig;
        }
    }
    return !sig;
}

int single_match(int c, const char* p, const char* ep) {
    switch (*p) {
    case '.': return 1;
    case kEsc: return match_class(c, uc(*(p + 1)));
    case '[': return match_bracket_class(c, p, ep - 1);
    default: return uc(*p) == c;
    }
}

const char* match_balance(MatchState* ms, const char* s, const char* p) {
    if (*p == 0 || *(p + 1) == 0) luaL_error(ms->L, "unbalanced pattern");
    if (s >= ms->src_end || *s != *p) return nullptr;
    int b = *p, e = *(p + 1), cont = 1;
    while (++s < ms->src_end) {
        step(ms);
        if (*s == e) {
            if (--cont == 0) return s + 1;
        } else if (*s == b) {
            cont++;
        }
    }
    return nullptr;
}

const char* max_expand(MatchState* ms, const char* s, const char* p, const char* ep) {
    ptrdiff_t i = 0;
    while (s + i < ms->src_end && single_match(uc(*(s + i)), p, ep)) i++;
    step(ms, (long)(i / 8));
    while (i >= 0) {
        const char* res = match(ms, s + i, ep + 1);
        if (res) return res;
        i--;
    }
    return nullptr;
}

const char* min_expand(MatchState* ms, const char* s, const char* p, const char* ep) {
    for (;;) {
        const char* res = match(ms, s, ep + 1);
        if (res) return res;
        if (s < ms->src_end && single_match(uc(*s), p, ep))
            s++;
        else
            return nullptr;
    }
}

const char* start_capture(MatchState* ms, const char* s, const char* p, int what) {
    int level = ms->level;
    if (level >= kMaxCaptures) luaL_error(ms->L, "too many captures");
    ms->capture[level].init = s;
    ms->capture[level].len = what;
    ms->level = level + 1;
    const char* res = match(ms, s, p);
    if (!res) ms->level--;
    return res;
}

const char* end_capture(MatchState* ms, const char* s, const char* p) {
    int l = capture_to_close(ms);
    ms->capture[l].len = s - ms->capture[l].init;
    const char* res = match(ms, s, p);
    if (!res) ms->capture[l].len = kCapUnfinished;
    return res;
}

const char* match_capture(MatchState* ms, const char* s, int l) {
    l = check_capture(ms, l);
    size_t len = (size_t)ms->capture[l].len;
    if ((size_t)(ms->src_end - s) >= len && std::memcmp(ms->capture[l].init, s, len) == 0) return s + len;
    return nullptr;
}

const char* do_match(MatchState* ms, const char* s, const char* p) {
init:
    step(ms);
    switch (*p) {
    case '(':
        if (*(p + 1) == ')') return start_capture(ms, s, p + 2, kCapPosition);
        return start_capture(ms, s, p + 1, kCapUnfinished);
    case ')':
        return end_capture(ms, s, p + 1);
    case kEsc:
        switch (*(p + 1)) {
        case 'b':
            s = match_balance(ms, s, p + 2);
            if (!s) return nullptr;
            p += 4;
            goto init;
        case 'f': {
            p += 2;
            if (*p != '[') luaL_error(ms->L, "missing '[' after '%%f' in pattern");
            const char* ep = class_end(ms, p);
            char previous = s == ms->src_init ? '\0' : *(s - 1);
            // At the end of the subject this reads its terminating zero, as Lua 5.1 does.
            if (match_bracket_class(uc(previous), p, ep - 1) || !match_bracket_class(uc(*s), p, ep - 1))
                return nullptr;
            p = ep;
            goto init;
        }
        default:
            if (std::isdigit(uc(*(p + 1)))) {
                s = match_capture(ms, s, uc(*(p + 1)));
                if (!s) return nullptr;
                p += 2;
                goto init;
            }
            goto dflt;
        }
    case '\0':
        return s;
    case '$':
        if (*(p + 1) == '\0') return s == ms->src_end ? s : nullptr;
        goto dflt;
    default:
    dflt: {
        const char* ep = class_end(ms, p);
        int m = s < ms->src_end && single_match(uc(*s), p, ep);
        switch (*ep) {
        case '?': {
            const char* res;
            if (m && (res = match(ms, s + 1, ep + 1)) != nullptr) return res;
            p = ep + 1;
            goto init;
        }
        case '*':
            return max_expand(ms, s, p, ep);
        case '+':
            return m ? max_expand(ms, s + 1, p, ep) : nullptr;
        case '-':
            return min_expand(ms, s, p, ep);
        default:
            if (!m) return nullptr;
            s++;
            p = ep;
            goto init;
        }
    }
    }
}

const char* match(MatchState* ms, const char* s, const char* p) {
    if (++ms->depth > kMaxDepth) luaL_error(ms->L, "pattern too complex");
    const char* res = do_match(ms, s, p);
    ms->depth--;
    return res;
}

void start_state(MatchState* ms, lua_State* L, const char* s, size_t len) {
    ms->L = L;
    ms->src_init = s;
    ms->src_end = s + len;
    ms->level = 0;
    ms->depth = 0;
    ms->steps = 0;
}

const char* lmemfind(MatchState* ms, const char* s1, size_t l1, const char* s2, size_t l2) {
    if (l2 == 0) return s1;
    if (l2 > l1) return nullptr;
    l2--;
    l1 = l1 - l2;
    const char* init;
    while (l1 > 0 && (init = (const char*)std::memchr(s1, *s2, l1)) != nullptr) {
        step(ms, 1 + (long)(l2 / 64));
        init++;
        if (std::memcmp(init, s2 + 1, l2) == 0) return init - 1;
        l1 -= (size_t)(init - s1);
        s1 = init;
    }
    return nullptr;
}

void push_onecapture(MatchState* ms, int i, const char* s, const char* e) {
    if (i >= ms->level) {
        if (i == 0)
            lua_pushlstring(ms->L, s, (size_t)(e - s));
        else
            luaL_error(ms->L, "invalid capture index");
    } else {
        ptrdiff_t l = ms->capture[i].len;
        if (l == kCapUnfinished) luaL_error(ms->L, "unfinished capture");
        if (l == kCapPosition)
            lua_pushinteger(ms->L, ms->capture[i].init - ms->src_init + 1);
        else
            lua_pushlstring(ms->L, ms->capture[i].init, (size_t)l);
    }
}

int push_captures(MatchState* ms, const char* s, const char* e) {
    int nlevels = (ms->level == 0 && s) ? 1 : ms->level;
    luaL_checkstack(ms->L, nlevels, "too many captures");
    for (int i = 0; i < nlevels; i++) push_onecapture(ms, i, s, e);
    return nlevels;
}

ptrdiff_t posrelat(ptrdiff_t pos, size_t len) {
    if (pos < 0) pos += (ptrdiff_t)len + 1;
    return pos >= 0 ? pos : 0;
}

int find_aux(lua_State* L, bool find) {
    size_t l1, l2;
    const char* s = luaL_checklstring(L, 1, &l1);
    const char* p = luaL_checklstring(L, 2, &l2);
    ptrdiff_t init = posrelat(luaL_optinteger(L, 3, 1), l1) - 1;
    if (init < 0)
        init = 0;
    else if ((size_t)init > l1)
        init = (ptrdiff_t)l1;
    MatchState ms;
    start_state(&ms, L, s, l1);
    if (find && (lua_toboolean(L, 4) || std::strpbrk(p, kSpecials) == nullptr)) {
        const char* s2 = lmemfind(&ms, s + init, l1 - (size_t)init, p, l2);
        flush(&ms);
        if (s2) {
            lua_pushinteger(L, s2 - s + 1);
            lua_pushinteger(L, (lua_Integer)(s2 - s + (ptrdiff_t)l2));
            return 2;
        }
    } else {
        int anchor = (*p == '^') ? (p++, 1) : 0;
        const char* s1 = s + init;
        do {
            ms.level = 0;
            ms.depth = 0;
            const char* res = match(&ms, s1, p);
            if (res) {
                flush(&ms);
                if (find) {
                    lua_pushinteger(L, s1 - s + 1);
                    lua_pushinteger(L, res - s);
                    return push_captures(&ms, nullptr, nullptr) + 2;
                }
                return push_captures(&ms, s1, res);
            }
        } while (s1++ < ms.src_end && !anchor);
        flush(&ms);
    }
    lua_pushnil(L);
    return 1;
}

int str_find(lua_State* L) { return find_aux(L, true); }
int str_match(lua_State* L) { return find_aux(L, false); }

int gmatch_aux(lua_State* L) {
    size_t ls;
    const char* s = lua_tolstring(L, lua_upvalueindex(1), &ls);
    const char* p = lua_tostring(L, lua_upvalueindex(2));
    MatchState ms;
    start_state(&ms, L, s, ls);
    for (const char* src = s + (size_t)lua_tointeger(L, lua_upvalueindex(3)); src <= ms.src_end; src++) {
        ms.level = 0;
        ms.depth = 0;
        const char* e = match(&ms, src, p);
        if (e) {
            flush(&ms);
            lua_Integer newstart = e - s;
            if (e == src) newstart++;
            lua_pushinteger(L, newstart);
            lua_replace(L, lua_upvalueindex(3));
            return push_captures(&ms, src, e);
        }
    }
    flush(&ms);
    return 0;
}

int str_gmatch(lua_State* L) {
    luaL_checkstring(L, 1);
    luaL_checkstring(L, 2);
    lua_settop(L, 2);
    lua_pushinteger(L, 0);
    lua_pushcclosure(L, gmatch_aux, 3);
    return 1;
}

void add_s(MatchState* ms, luaL_Buffer* b, const char* s, const char* e) {
    size_t l;
    const char* news = lua_tolstring(ms->L, 3, &l);
    for (size_t i = 0; i < l; i++) {
        if (news[i] != kEsc) {
            luaL_addchar(b, news[i]);
        } else {
            i++;
            if (!std::isdigit(uc(news[i]))) {
                luaL_addchar(b, news[i]);
            } else if (news[i] == '0') {
                luaL_addlstring(b, s, (size_t)(e - s));
            } else {
                push_onecapture(ms, news[i] - '1', s, e);
                luaL_addvalue(b);
            }
        }
    }
}

void add_value(MatchState* ms, luaL_Buffer* b, const char* s, const char* e) {
    lua_State* L = ms->L;
    switch (lua_type(L, 3)) {
    case LUA_TNUMBER:
    case LUA_TSTRING:
        add_s(ms, b, s, e);
        return;
    case LUA_TFUNCTION: {
        lua_pushvalue(L, 3);
        int n = push_captures(ms, s, e);
        lua_call(L, n, 1);
        break;
    }
    case LUA_TTABLE:
        push_onecapture(ms, 0, s, e);
        lua_gettable(L, 3);
        break;
    }
    if (!lua_toboolean(L, -1)) {
        lua_pop(L, 1);
        lua_pushlstring(L, s, (size_t)(e - s));
    } else if (!lua_isstring(L, -1)) {
        luaL_error(L, "invalid replacement value (a %s)", luaL_typename(L, -1));
    }
    luaL_addvalue(b);
}

int str_gsub(lua_State* L) {
    size_t srcl;
    const char* src = luaL_checklstring(L, 1, &srcl);
    const char* p = luaL_checkstring(L, 2);
    int tr = lua_type(L, 3);
    int max_s = luaL_optint(L, 4, (int)(srcl + 1));
    int anchor = (*p == '^') ? (p++, 1) : 0;
    int n = 0;
    luaL_argcheck(L, tr == LUA_TNUMBER || tr == LUA_TSTRING || tr == LUA_TFUNCTION || tr == LUA_TTABLE, 3,
                  "string/function/table expected");
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    MatchState ms;
    start_state(&ms, L, src, srcl);
    while (n < max_s) {
        ms.level = 0;
        ms.depth = 0;
        const char* e = match(&ms, src, p);
        if (e) {
            n++;
            flush(&ms);   // the replacement may run Lua code
            add_value(&ms, &b, src, e);
        }
        if (e && e > src)
            src = e;
        else if (src < ms.src_end)
            luaL_addchar(&b, *src++);
        else
            break;
        if (anchor) break;
    }
    flush(&ms);
    luaL_addlstring(&b, src, (size_t)(ms.src_end - src));
    luaL_pushresult(&b);
    lua_pushinteger(L, n);
    return 2;
}

}  // namespace

void lua_install_patterns(lua_State* L) {
    lua_getglobal(L, "string");
    const luaL_Reg fns[] = {{"find", str_find}, {"match", str_match}, {"gmatch", str_gmatch}, {"gsub", str_gsub}};
    for (const luaL_Reg& f : fns) {
        lua_pushcfunction(L, f.func);
        lua_setfield(L, -2, f.name);
    }
    lua_pop(L, 1);
}
