/* Layout of an rtlib image (GNU ld, x86-64 PE). docs/image-pipeline.md says why each part
   is there and what it costs.

   Every 512-byte file block counts in these small images, so there are as few sections as
   GNU ld allows:
     .text   code, read-only data, unwind codes and the import tables (the loader makes the
             import address table writable while it binds it), read-only and executable;
     .data   initialised and zero-filled data, only when the image has any;
     .pdata  the function table, only when a routine has unwind data;
     .reloc  base relocations, only when something needs relocating.
   GNU ld sets the exception directory only from a section named .pdata and the relocation
   directory only from one named .reloc, so these two keep sections of their own.

   Sections that nothing reaches are dropped (--gc-sections): among them the jump stubs of the
   import libraries, since the runtime calls every imported routine through its address-table
   entry. Read-only data is always kept, a program's unused texts included. Of the .idata$7
   sections only the library names (in each import library's closing member) are kept; the
   other members' ones only tie them to their library's descriptor.

   The import directory is found through the symbols .idata$2 to .idata$6 below, which give the
   linker the places of the import descriptors and the address table inside .text (as
   image-relative values, the form the linker writes into the directory). The import lookup
   tables (.idata$4) are left out: each descriptor's lookup-table field is then 0, and the loader
   reads the names from the address table itself, which holds the same entries until it is bound.

   DWARF debug information, where the objects carry it and the link does not strip it (-s), ends
   the image in sections that the loader does not map, as in GNU ld's own script.

   An rtlib image has no C runtime start-up, so the link fails, saying why, when the program
   brings anything that start-up code would have had to run or set up. */

SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .text __image_base__ + __section_alignment__ :
  {
    *(.text) *(SORT(.text$*)) *(.text.*)
    KEEP(*(.rdata)) *(SORT(.rdata$*)) *(.rodata) *(.rodata.*)

    . = ALIGN(4);
    __rtlib_pseudo_relocs_start = .;
    KEEP(*(.rdata_runtime_pseudo_reloc))
    __rtlib_pseudo_relocs_end = .;
    __rtlib_constructors_start = .;
    KEEP(*(.ctors)) KEEP(*(.ctor)) KEEP(*(SORT_BY_NAME(.ctors.*)))
    KEEP(*(.init_array)) KEEP(*(SORT_BY_NAME(.init_array.*)))
    KEEP(*(.dtors)) KEEP(*(.dtor)) KEEP(*(SORT_BY_NAME(.dtors.*)))
    KEEP(*(.fini_array)) KEEP(*(SORT_BY_NAME(.fini_array.*)))
    KEEP(*(SORT_NONE(.init))) KEEP(*(SORT_NONE(.fini)))
    __rtlib_constructors_end = .;
    __rtlib_crt_start = .;
    KEEP(*(SORT(.CRT$*)))
    __rtlib_crt_end = .;
    __rtlib_tls_start = .;
    KEEP(*(.tls)) KEEP(*(SORT(.tls$*)))
    __rtlib_tls_end = .;


    . = ALIGN(4);
    ".idata$2" = ABSOLUTE(.) - __image_base__;
    KEEP(SORT(*)(.idata$2))
    KEEP(SORT(*)(.idata$3))
    LONG(0); LONG(0); LONG(0); LONG(0); LONG(0);
    . = ALIGN(8);
    ".idata$4" = ABSOLUTE(.) - __image_base__;
    ".idata$5" = ABSOLUTE(.) - __image_base__;
    __IAT_start__ = .;
    SORT(*)(.idata$5)
    __IAT_end__ = .;
    ".idata$6" = ABSOLUTE(.) - __image_base__;
    KEEP(SORT(*)(.idata$6))
    KEEP(*t.o(.idata$7))

    . = ALIGN(4);
    KEEP(*(.xdata*))
  }
  .data BLOCK(__section_alignment__) :
  {
    *(.data) *(.data2) *(SORT(.data$*))
    *(.bss) *(COMMON)
  }
  .pdata BLOCK(__section_alignment__) :
  {
    KEEP(*(.pdata*))
  }
  .reloc BLOCK(__section_alignment__) :
  {
    *(.reloc)
  }
  .debug_aranges BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_aranges) }
  .debug_pubnames BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_pubnames) }
  .debug_info BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_info .gnu.linkonce.wi.*) }
  .debug_abbrev BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_abbrev) }
  .debug_line BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_line) }
  .debug_frame BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_frame*) }
  .debug_str BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_str) }
  .debug_loc BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_loc) }
  .debug_macinfo BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_macinfo) }
  .debug_pubtypes BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_pubtypes) }
  .debug_ranges BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_ranges) }
  .debug_types BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_types) }
  .debug_addr BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_addr) }
  .debug_line_str BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_line_str) }
  .debug_loclists BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_loclists) }
  .debug_macro BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_macro) }
  .debug_names BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_names) }
  .debug_rnglists BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_rnglists) }
  .debug_str_offsets BLOCK(__section_alignment__) (NOLOAD) : { *(.debug_str_offsets) }
  /DISCARD/ :
  {
    *(.idata$4)
    *(.idata$7)
    *(.debug$S) *(.debug$T) *(.debug$F) *(.drectve) *(.note.GNU-stack) *(.gnu.lto_*)
    *(.eh_frame*) *(.zdebug*) *(.stab*)
  }
}

ASSERT(__rtlib_constructors_end == __rtlib_constructors_start,
  "rtlib image: the program has static constructors or destructors, but an rtlib image has no C runtime start-up to run them")
ASSERT(__rtlib_crt_end == __rtlib_crt_start && !DEFINED(_tls_used),
  "rtlib image: the program has TLS callbacks or C runtime initialisers, but an rtlib image has no C runtime start-up to run them")
ASSERT(__rtlib_tls_end == __rtlib_tls_start,
  "rtlib image: the program has thread-local variables, but an rtlib image has no C runtime start-up to set them up")
ASSERT(__rtlib_pseudo_relocs_end == __rtlib_pseudo_relocs_start,
  "rtlib image: the program reads data imported without dllimport, which needs the C runtime start-up relocator")
