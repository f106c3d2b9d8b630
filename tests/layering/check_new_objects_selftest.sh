#!/usr/bin/env bash
# Proves that the check for value-initialising news of collected objects catches each form on its
# own, and accepts the forms that are fine: plain `new T`, constructor arguments, and `new T()` of
# classes the collector does not own. Every case is a small source tree of its own.
# Usage: check_new_objects_selftest.sh CHECK_SCRIPT
set -uo pipefail

CHECK="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0

# A tree whose collected classes are all created correctly. Bar derives from gc_object through
# two classes and has its class head split over lines, Baz through a template; Plain and its
# subclass are not collected.
make_clean_tree() {
    local src="$1"
    mkdir -p "$src"/{runtime,game}
    cat >"$src/runtime/gc.h" <<'EOF'
#pragma once
struct gc_object {
    gc_object() {}
};
struct gc_interface {};
class Object : public gc_object {};
EOF
    cat >"$src/game/kinds.h" <<'EOF'
#pragma once
#include "runtime/gc.h"
class Foo : public Object {
public:
    int x;
};
template <class T> class Holder : public Object {};
class Bar
    : public Foo {};
class Plain {};
class PlainToo final : public Plain {};
class Iface : public gc_interface {};
class FooBar {};
class Baz : public Holder<int> {};
EOF
    cat >"$src/game/make.cpp" <<'EOF'
#include "game/kinds.h"
// new Foo() would wipe the header: this comment must not count.
void Make(void* block) {
    Foo* a = new Foo;
    Bar* b = new Bar{1};
    Plain* c = new Plain();
    PlainToo* d = new PlainToo{};
    FooBar* e = new FooBar();
    ::new (block) gc_object;
    Holder<int>* f = new Holder<int>;
}
EOF
}

# Runs the check on a clean tree with one line added to game/make.cpp, and checks that it fails
# (naming that file and line) or passes.
expect() {
    local want="$1" case_name="$2" line="$3"
    local src="$WORK/$case_name/src"
    make_clean_tree "$src"
    local lineno=$(($(wc -l <"$src/game/make.cpp") + 1))
    [ -n "$line" ] && printf '%s\n' "$line" >>"$src/game/make.cpp"
    local out status=0
    out="$(bash "$CHECK" "$src" 2>&1)" || status=$?
    if [ "$want" = pass ] && [ "$status" -ne 0 ]; then
        echo "FAIL $case_name: a clean tree was rejected:"$'\n'"$out"
        failures=$((failures + 1))
    elif [ "$want" = fail ] &&
        { [ "$status" -eq 0 ] || ! grep -qF "game/make.cpp:$lineno:" <<<"$out"; }; then
        echo "FAIL $case_name: expected a complaint about game/make.cpp:$lineno, got status $status:"$'\n'"$out"
        failures=$((failures + 1))
    else
        echo "ok   $case_name"
    fi
}

expect pass clean ""
expect fail parentheses 'Foo* g = new Foo();'
expect fail spaced_parentheses 'Foo* g = new Foo ( );'
expect fail braces 'Foo* g = new Foo{};'
expect fail through_two_classes_and_a_split_head 'Bar* g = new Bar();'
expect fail the_root_class 'Object* g = new Object();'
expect fail template_base 'Baz* g = new Baz();'
expect fail qualified 'Foo* g = new ::game::Foo();'
expect fail placement 'Foo* g = new (block) Foo();'
expect fail after_an_operator 'Foo* g = flag?new Foo():nullptr;'
expect pass arguments 'Foo* g = new Foo(1);'
expect pass longer_name_of_a_plain_class 'FooBar* g = new FooBar{};'
expect pass interface_only_class 'Iface* g = new Iface();'
expect pass trailing_comment 'Foo* g = new Foo;  // not new Foo()'

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
echo "all cases passed"
