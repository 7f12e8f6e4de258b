# What the shell-script tests share: counting failures, and reading a .ser
# file back with OpenSSL, independently of the code under test. Sourced by
# the scripts, not run.

failures=0
# Reports one failed check; the script ends with the number of them.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Standard input as one line of hexadecimal digits.
hex() { od -v -An -tx1 | tr -d ' \n'; }

# Standard input followed by its 1 to 16 padding spaces, as hex: what
# ser_plaintext_hex gives for a .ser file made from that text.
padded_hex() {
    local data
    data=$(hex)
    printf '%s' "$data"
    printf "%$((16 - ${#data} / 2 % 16))s" "" | hex
}

# The plaintext of the .ser file $1 under the key $2 (its 16 bytes as they
# are, no padding removed), as hex; empty when OpenSSL cannot read it.
ser_plaintext_hex() {
    { openssl enc -d -aes-128-cbc -nopad -K "$(printf %s "$2" | hex)" \
        -iv 00000000000000000000000000000000 -in "$1" 2>/dev/null || true; } | hex
}
