# Reads a Wayland client's protocol trace (WAYLAND_DEBUG=client) and prints, one tab-separated
# line each and in the order they happened:
#   WINDOW    title                    a top-level window got its title
#   PARENT    child title  parent title  a window was made a child of another
#   ACTIVATE  token        title        the client asked to activate a window with a token
# Object ids are reused after a window goes, so every id is looked up as it was at that line.

# The decimal number right after the first `key` in `line`.
function after(line, key,    rest) {
  rest = substr(line, index(line, key) + length(key))
  sub(/[^0-9].*/, "", rest)
  return rest
}

# The first quoted text after `key`.
function quoted(line, key,    rest) {
  rest = substr(line, index(line, key) + length(key))
  return substr(rest, 1, index(rest, "\"") - 1)
}

/ -> xdg_wm_base@[0-9]+\.get_xdg_surface\(/ {
  surface_of_xdg[after($0, "new id xdg_surface@")] = after($0, ", wl_surface@")
}

/ -> xdg_surface@[0-9]+\.get_toplevel\(/ {
  toplevel = after($0, "new id xdg_toplevel@")
  xdg_of_toplevel[toplevel] = after($0, "xdg_surface@")
  delete title[toplevel]
}

/ -> xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@/ {
  child = after($0, "xdg_toplevel@")
  parent = after($0, "set_parent(xdg_toplevel@")
  if (child in title) {
    printf "PARENT\t%s\t%s\n", title[child], title[parent]
  } else {
    pending_parent[child] = title[parent]
  }
}

/ -> xdg_toplevel@[0-9]+\.set_title\(/ {
  toplevel = after($0, "xdg_toplevel@")
  title[toplevel] = quoted($0, "set_title(\"")
  title_of_surface[surface_of_xdg[xdg_of_toplevel[toplevel]]] = title[toplevel]
  printf "WINDOW\t%s\n", title[toplevel]
  if (toplevel in pending_parent) {
    printf "PARENT\t%s\t%s\n", title[toplevel], pending_parent[toplevel]
    delete pending_parent[toplevel]
  }
}

/ -> xdg_activation_v1@[0-9]+\.activate\(/ {
  printf "ACTIVATE\t%s\t%s\n", quoted($0, "activate(\""), title_of_surface[after($0, ", wl_surface@")]
}
