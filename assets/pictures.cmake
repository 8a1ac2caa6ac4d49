# The fourteen committed pictures, which both front ends build in.
set(CORVANI_PICTURES
  icona.png llum.png llum_avall.png ull.png
  tinta_vermell.png tinta_blanc.png tinta_negre.png tinta_cian.png
  tinta_magenta.png tinta_groc.png tinta_verd.png tinta_blau.png
  buida_pot.png pinta.png)
list(TRANSFORM CORVANI_PICTURES PREPEND ${CMAKE_CURRENT_LIST_DIR}/ OUTPUT_VARIABLE CORVANI_PICTURE_FILES)
