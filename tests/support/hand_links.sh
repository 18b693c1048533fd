# Sourced by the package tests: the README's hand link block as commands, one a line, the
# continuation lines joined and the install prefix put in for /opt/rtlib.
readme_hand_links() { # <README.md> <install prefix>
  sed -n '/<!-- hand-link -->/,/<!-- \/hand-link -->/p' "$1" |
    sed '/^<!--\|^```\|^#/d' | sed -e ':a' -e '/\\$/N; s/\\\n//; ta' | tr -s ' ' |
    sed "s|/opt/rtlib|$2|g"
}
