# add_typelib(<name> IDL <file.idl> [PREDECLARED <clsid>...])
# Compiles the IDL with widl into <name>.tlb and <name>_h.h/<name>_i.c in the binary dir.
# Japanese text in the IDL is UTF-8 in the source tree; type-library strings are stored in the
# ANSI code page, so the IDL is converted to code page 932 before widl sees it.
# PREDECLARED sets TYPEFLAG_FPREDECLID on the named coclasses, which widl cannot express.
function(add_typelib name)
  cmake_parse_arguments(TL "" "IDL" "PREDECLARED" ${ARGN})
  set(src ${CMAKE_CURRENT_SOURCE_DIR}/${TL_IDL})
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  set(idl932 ${out}/${name}.cp932.idl)
  set(tlb ${out}/${name}.tlb)
  set(patch_cmd "")
  if(TL_PREDECLARED)
    set(patch_cmd COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/tlb_set_typeflags.py ${tlb}
                  --or-flags 0x8 ${TL_PREDECLARED})
  endif()
  add_custom_command(
    OUTPUT ${tlb} ${out}/${name}_h.h ${out}/${name}_i.c
    COMMAND iconv -f UTF-8 -t CP932 ${src} -o ${idl932}
    COMMAND ${WIDL} ${WIDL_FLAGS} -I/usr/include/wine/wine/windows -I${CMAKE_CURRENT_SOURCE_DIR}
            -t -h -u -o ${out}/${name} -T ${tlb} -H ${out}/${name}_h.h -U ${out}/${name}_i.c ${idl932}
    ${patch_cmd}
    DEPENDS ${src} ${CMAKE_SOURCE_DIR}/scripts/tlb_set_typeflags.py
    COMMENT "widl ${TL_IDL}"
    VERBATIM)
  add_custom_target(${name}_typelib DEPENDS ${tlb})
  set(${name}_TLB ${tlb} PARENT_SCOPE)
  set(${name}_IID_C ${out}/${name}_i.c PARENT_SCOPE)
endfunction()
