#pragma once

// A stand-in for the Lua binding helper that the Direct Connect library's
// script manager header includes and its -dev package does not ship. It
// declares only what that header names, so that a program built with
// LUA_SCRIPT sees the library's classes with the layout they were built with;
// nothing here is called.

extern "C" {
struct lua_State;
void lua_close(lua_State* state);
int lua_gettop(lua_State* state);
void lua_pushlightuserdata(lua_State* state, void* pointer);
}

template <typename T>
class Lunar {
public:
    struct RegType {
        const char* name;
        int (T::*method)(lua_State*);
    };
};
