LM=2
0 0 0
3 4 0
ID=a
COMMENT=a 3D digitizer writes LM=
