/* Layout of an rtlib image (GNU ld, x86-64 PE).

   Every 512-byte file block counts in these small images, so there are as few sections as the
   platform allows:
     .text   code, read-only data, unwind codes and the import tables (the loader makes the
             import address table writable while it binds it), read-only and executable;
     .data   initialised and zero-filled data, only when the image has any;
     .reloc  base relocations, only when something needs relocating;
     .pdata  the function table.
   GNU ld sets the exception directory only from a section named .pdata and the relocation
   directory only from one named .reloc, so these tables come last, where rtlib-fold-pdata (run
   on every image after the link) can move them into the room at the end of .text and drop
   their sections without moving any other address; on its way it lets functions whose unwind
   codes are alike share one record of them. So that the room is always there, .data starts
   no earlier than the first section boundary behind the code and both tables.
   With three sections or fewer the headers fit in one 512-byte block.

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

    /* The unwind codes end the section, where rtlib-fold-pdata can merge the records that are
       alike. */
    . = ALIGN(4);
    KEEP(*(.xdata*))
  }
  .data ALIGN(ALIGN(., 4) + SIZEOF(.pdata) + 4 + SIZEOF(.reloc), __section_alignment__) :
  {
    *(.data) *(.data2) *(SORT(.data$*))
    *(.bss) *(COMMON)
  }
  .reloc BLOCK(__section_alignment__) :
  {
    *(.reloc)
  }
  .pdata BLOCK(__section_alignment__) :
  {
    KEEP(*(.pdata*))
  }
  /DISCARD/ :
  {
    *(.idata$4)
    *(.idata$7)
    *(.debug$S) *(.debug$T) *(.debug$F) *(.drectve) *(.note.GNU-stack) *(.gnu.lto_*)
    *(.eh_frame*) *(.debug*) *(.zdebug*) *(.stab*)
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
