lm3=2
0 0 0
3 4 0
image=a.ply
id=a
scale=
LM3=2
0 0 0
3 4 0
ID=b
SCALE=2
