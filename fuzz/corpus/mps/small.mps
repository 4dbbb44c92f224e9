NAME          small
OBJSENSE
    MAX
ROWS
 N  obj
 L  c1
 G  c2
 E  c3
 N  free
COLUMNS
    x         obj       2         c1        1
    MARKER                 'MARKER'                 'INTORG'
    y         obj       3         c2        -1
    y         c3        1         free      4
    MARKER                 'MARKER'                 'INTEND'
    z         c3        1
RHS
    RHS       obj       -1.5      c1        10
    RHS       c3        4
RANGES
    RNG       c1        3         c3        -2
BOUNDS
 UP BND       x         4
 MI BND       y
 BV BND       z
 FX BND       x         1.5
ENDATA
