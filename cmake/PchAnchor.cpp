// The precompiled header's own target needs one source to compile it with.
int velmora_pch_anchor() {
    return 0;
}
