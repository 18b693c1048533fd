# Sourced by the package tests: a hand link block of the README (hand-link for GCC and GNU ld,
# hand-link-lld for clang and lld) as commands, one a line, the continuation lines joined and
# the install prefix put in for /opt/rtlib.
readme_hand_links() { # <README.md> <install prefix> [block name]
  local block=${3:-hand-link}
  sed -n "/<!-- $block -->/,/<!-- \\/$block -->/p" "$1" |
    sed '/^<!--\|^```\|^#/d' | sed -e ':a' -e '/\\$/N; s/\\\n//; ta' | tr -s ' ' |
    sed "s|/opt/rtlib|$2|g"
}
