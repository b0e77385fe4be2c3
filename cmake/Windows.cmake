# Settings shared by everything built for Windows.
enable_language(C)
enable_language(RC)
# Wide-character Win32 calls throughout (the ANSI ones are called by name where wanted);
# Windows 7 is the oldest system the files are built for.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

find_program(WIDL NAMES ${MINGW_TRIPLET}-widl REQUIRED)

# add_type_library(TARGET IDL): compiles IDL into TARGET's type library, header and GUIDs,
# in the binary folder under the IDL's own name (X.tlb, X_h.h, X_i.c).
function(add_type_library target idl)
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  set(widl_flags ${WINDOWS_WIDL_TARGET} -I/usr/include/wine/wine/windows -L${WINDOWS_IMPORTLIB_DIR}
      -I${CMAKE_CURRENT_SOURCE_DIR})
  add_custom_command(
    OUTPUT ${out}/${name}.tlb ${out}/${name}_h.h ${out}/${name}_i.c
    COMMAND ${WIDL} ${widl_flags} -t -o ${out}/${name}.tlb ${idl_path}
    COMMAND ${WIDL} ${widl_flags} -h -o ${out}/${name}_h.h ${idl_path}
    COMMAND ${WIDL} ${widl_flags} -u -o ${out}/${name}_i.c ${idl_path}
    DEPENDS ${idl_path}
    COMMENT "Type library ${name}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${out}/${name}.tlb ${out}/${name}_h.h ${out}/${name}_i.c)
endfunction()
