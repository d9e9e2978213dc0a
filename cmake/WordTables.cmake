# The word tables (data/words/<lang>.tsv) in the compact form WordTable
# loads, made at build time: build/<preset>/words/<lang>.words. The Windows
# program carries them as RCDATA resources (res/words.rc); the native
# benchmarks read the files.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(LUMA_WORD_LANGUAGES en de fr es it pt nl pl sv ru)
set(LUMA_WORDS_DIR ${CMAKE_BINARY_DIR}/words)
set(LUMA_WORD_BLOBS)
foreach(language IN LISTS LUMA_WORD_LANGUAGES)
  set(blob ${LUMA_WORDS_DIR}/${language}.words)
  add_custom_command(OUTPUT ${blob}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMA_WORDS_DIR}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/wordtable.py
      ${PROJECT_SOURCE_DIR}/data/words/${language}.tsv ${blob}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/wordtable.py
      ${PROJECT_SOURCE_DIR}/data/words/${language}.tsv
    COMMENT "Compacting the word table ${language}" VERBATIM)
  list(APPEND LUMA_WORD_BLOBS ${blob})
endforeach()
add_custom_target(luma_word_tables ALL DEPENDS ${LUMA_WORD_BLOBS})
