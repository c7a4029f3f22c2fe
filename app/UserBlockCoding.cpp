#include "app/UserBlockCoding.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "classlib/Base64Digits.h"

namespace UserBlockCoding {

namespace {

constexpr int KeyCount = 60;

// Key strings: 60 printable keys of 107 to 143 characters.
const char* const KeyStrings[KeyCount] = {
    "}m}m^1Y^|2|]kQ]7u1t0)a([izs~:vFj$s8#:DfNMLUkte%z:Xpr[u{aKNrH%63pl!y+<Eq%8L,ZMnu3N]P]H6J,W{eN#@kGvr{6|9&feM1<1Dt",
    "PgVXYE_7NLW1uW*H|u4H/O1@EFCNzDT*w#Q~Z`OL_eFjQcR7/m-b1qY[z0e)^a/t=@kcapRc~_MV5t8x`QHn!e.vQ`Rxl{nmcF^thvFD[;|{!.r%XgDCnF-nGLUsCKF#,",
    "v%UW=g/b4GG===z:U]^$^wPmr}WG<ud$ABlmuO,rL-@(+O;N}W1n&n=`p.WCRW.Nd.yv}8zf$M3w}!#$XX:_3m!Opw=-[[$KxJBH:rcS<p]Zg~*9xXvxL!(I_1",
    "(f@$VYTg37@'[!|v`Du0uvR#$q`.2rh>F0'Ppmw,G`J[xg]C$qmH#oU.s:W,4d$fI)NVfY:41+,b@%R$N2N=,HUL2hA&{W6'AA,hvO^h'FDzc{by@KmFm9Zw]k`8Y426CN|=*S",
    "RN;*5B9#mxpWEuB`RMvZINE7nHE|/EMexW3T`C..=8qV(>$-Ti:C;lX^Mb2bdyou|]|WHX4UfEJ]OJZ;XXB24I5W``b>kxa`S<L<(V@>$Zq2!p2[O%yDO{ejW$LJK{lb0>J[wb",
    "GSJK[}*-mE0y}^C>Mkp))+Rs*85cL`9lY@RElt^QVUYbp!q/kpJju+1CvAunJ16)[yoN>/pCmw^Zy7pE@_aE4HY>|vmYJ2|sc<Wt,}Nd0zW%#Q%)&}e@uj6L*4[Zl",
    "VqM3LOe2>AOn/yg5ir.QtCcK$xKf(5wh40=wvu3TB~%jRw$RckpCC+Es(9dcOe:,4kU]Dgy%Aq1x84yk)sVbZVUCxAv-q5$kG=+B&skV!6,",
    "{<c;WYs~_NfTnBmrC8Th4Oo35t:Qw*^kiA-{nQ($GI|*PGJz*zQxSYCl0G)dUt|cP3HzYqUHJYItWN~<g8b,|Es>C)]S4N'=:]f=aiI$A9XqPuCZ]XU2A$v#3d<2X:{e",
    "6c4pM_RF*uDq6gF*68p*MHtFiAKvX*WbGa|8uDF>6{,em<cs9#b#/N7pKjIxAP3(w1z^ATDcQ6>mSf(x':F~+T>H1J]#[8_c%DqgdY,szf~EWud4=E@/dGM-[]N",
    "ncWWFMfGcRNd.fZzso~h9iGvHO*qe(#.Z#tXlSIz%(|,mT3MveEfzY]wqQ]~twldH>E*7='DI/yGbr9J-}5G*=cqN7}YOe&Y|i]jel@+_IY|D.yi.cFBp203ug",
    "h+zlIx9T`XB,MA0cnxVPIT{NTrPyX1kl)9z2(d_^!F2m=X>IHf0bSEwReW+0.zxS;!Q&(>t1H+Dih|mKU|e42!Bo(9KMixGGlcL5yq=9,+/gFZ7[U[,8YbQ+PWFv~^oRHu!bceP",
    "SN6x[9NJZVGwpJZ+y9aCd]6x-RiI2*0+Qj:<hJ'wn0<(8T=j6dfQkKd:ngHQxm(`[SNIXk_e!T,H7IL,eL(+&GzT$d){{`hX|5[WQ%l6`+XnwB^xP3JBzko$]Ucf",
    ";5@V2E'nX#8wGIvn3Y&;s*1&'8u1Pr$rQL~*)nda};jE$X<OD4D8;'ek!R5*(=7hOTXd0EEP}d&bk=*[y%ns*/}Z$hid-R8jeUP)dQY<,HYa>(",
    "fQ-kljlJu<(l-v)6>ehkjHAqq.m6#lz2k{@BRDi>wUBYo@Obe(4uN[gGcwtuc}+ILv@&1OoR}J<n<Q%ZSEnBeFVuccIdqe:18fUQKbOI}:ID_Ltqd~9S[|nxL1^*Vdc4Al/UiO&&.(-oub",
    "&iLomt!x$OI|'aio@!5hn_8Sy=SS/gbRP/)r5K@bipTr'p8&$d>e!#$PI36M^8T0*e03MRe*t+MC:NM'xEXI_!'#fE%GwJ|)Ez.#m<H'/guVQJ{wo:akgc<hiE^lL",
    "{ub|'avLXSf@q9>]Hn6m^Bf[-,<7#XVZ-y=xz=AyMxs@S=lsR*(DJI#ANsD8#D~IANng_C6@/S'I<mX>~jtbO]OgN'[A<DjZSNx`')a5rmdnq]#f1~1fRu3fbC[",
    "rBgwrsZ.84tNXC,EL>u<C}ivbE@L@'U%Uc8KK$:oe7_TmA>Hdcfd3t5,(/)l--reYYG<QFcT0/y}t<cv`WF}hG36WL3mcO,XS,2a'x9!D/%qIE*f&m)_#d%P[#E",
    "u{dD=Ddovxu#/oS@^MMebR.v_2JNR:}ZhypT&T9Gm{8:-MCu&p5t9X|49ig`-scS{fKih`IrlKv+'Vna+S`EzDmxrpjB_=*L~d]R,RS2`9}Z]%N}",
    "0z$wA{HgN-d)MHby{>%>y!v#9$7&G%WWSwGH[:;Y2Vmdz1P)g$59ftnj0Ag3XBQ(w=R+Cg1nW5-I549B2n0tQbq-/FtiPz0E%aGwoPl51brxGe>8(-<$m+y=0QhI}SlC6Dz`1qex>MUa>O{",
    "/UN~u<35&/=y85I`-8`gN`^IaSBdeMFBTU3-L*Eo31K!BY[/m)UtA#2rI/q*<gJ3aAy=0n}/CnQ;R~Hr)9ZAK|)X`7]2r/$[D`!{e8`c:8;9;",
    "P8(f4~yRM74,>F&Zc!ULoZfpOq):c<mY#CZH}x)w}`Uoe1|2(#ET'FDzv*qbW{t':XJov.~jh<r~g.mb7)gR3kbv4AL8O]a$8e#N-bs<`IrGF",
    "z@U-KJn];l~QU.@w%G-pB$#|O$5Aj~$8*jot]T`y4L`89:]G['zj6Oa=(!Goenc{dwtl0=(t$gjpgRd&1|^GeedYf:i%[RF&g<uQwT#a^G:D((xw1TQ+.$*BA2]b!'%L7L",
    "Y@P=R$=j*FCUNqID+``'a.6;~BKzR@SPA/ZfpW'M|uBcLYLe<BT^8Utvar`T'qx]$KTapxzm^HNRTB0U}xl'MnoX)3(4pMN{.*dSxi^/Hmko%@87i)Gu040>6",
    "tf_43Z:VGiPs5E3t*gFfR6IgUPV8<@*D[qjH2q}'jaST-_;WfC&Zw<lsr(0CO,6GluijPW&+=!k^v532pu`ddlGx0H_m'BzHY'yqCJ6}~<H++Wa91SDg]%Yq@=k",
    "}Nua;p*k!S>L@B%z^e2bXmUrqU'zOTzVRJs%GY6dM'*2nU|y&Wv~bl7=V!+T#gbiYI*<EKebyEwR>sP$<VBb*uf:J~a*>FU!-q#v6StjpBdg~Un$'-|H0V~K!rgaN!qh}Ln>w",
    "GFx<A}A{PuoYNehm'/F48ifgUiAe#Z6EpMK]2bOv!sW/,J7^d3';rsZMr_:^ZtI':cEJ)@<)c5wL`Pb}VqQdPdsn,m~TASANI()k[Rr*#^P",
    "[2:=$]jV^8A^$e0E>U[.d9L`[4$+=vR!$d<qiPXx6Sb[ZW<IJYl#HF-KM,'RY8QQOfW5GFm@lr(h0Z+($dh@B)5=~Ek7%@ns0c]nZB#!6Yp$DU~kO'qy9O75NKeI5p,MIJ",
    "@hp>IX5G#2Zqf~8,zbOs{@L%8MO~^&^MJQSu,O|Qt9vtH>(M_Vc%.pC[XNze+MSqj-EhDTbx@CrUDD50K|Mh-kS]yhVJS=>con$YkAY:.A:z^U77M%9e4<Dod{]",
    "UVZU5VvO~g12xTgL]we<ISg'V!LG}ykbO,*AZ=<ebTwmXzt5t)1={cF<<9zEQvymcqMd6}9ZrAy>*35S=H|^=%C@oF6xT}+}-_iTj6vU{[(ta3V+7`Q`#>EyK}xLHec!a_,",
    "+dDkJ*p[hich*>|Z!Q4lDPU%TDeW:'ihOK>MY$ik&+mIgdq)v*ok8QFwui*+7.'Du0ECoLfhe0:-9ynO%v1A>};N1_n49FOp`]+qaTZkin7O$XEs)@)k",
    "1#KlS-]m:!0s7urR.;cp{!twGK}n<}yskFOAOd-uY~8>So%lGPo]fMTU<<NqwRX2nAr!_66!>V7B8EV~p&$b3hi3V>:Em/$w.cY(EUhq=/PfN5i,oU[=f0x%4",
    "a`;VY+TP]:3Eiy'jGz9^mH/D~<~cA%TWhS`_jl@-9P&RJmmNxUZ$d7i4))]&CnQX)){GG}qIkh<z{0^`oC-zMcZ^}lV!J;F-+)HSo!2lU+EA5|f{oOd_i{abM03Sc=yo!8f`5{c1*nWt{",
    "3{sXnB.Su<L%d|0.aa6b[pF!.)TEqus~(>d{ykHpBX7$aIN^zK]$e()%YXrzVs$/t}!<=bVad|P50n-<qhF8RUQ(t>uqIVSuI]$ixulWgOo^-<'",
    "uszOdk{YAjqPEdZ;d5Y`E,`O;Gjq/]'#D%bUx&)>6A@BB((tYGXxf:>1sXidKkL)c-_kA%L$C['pt3rRC.xq9gu#Kt]C|*>GE/QcTi1dLLsunezYAbZq2lbyLDyXXQfhtUJ](x#am}T",
    "zBb{B})_A:|swv_`d|Bx-;X6=py=v!ba)/u3z}xAF11zp)#lw2~Uky(y&-|8Q+Ygo-<KQy.M9h>&_y,xiz`]EPd5,h,q6er_<MWPI}Hl.z,t!_Y5+,NNq}Q2LNB!qs&K~sR8G>hu/H#D",
    "w}JkG}n9_u&50/yJ!3.R9~I`of2w-'O2Y[g{QDc~:n.!>+C;]Ff#EN8LYuw>xk`+KE=nCWnPJ;2Ze9-eP6~QCEUr*j=SDC75bA;!'Z']0JvDng+`ALt6#'A[",
    ";/0!8@aVk/z/=XT_@ZH@CCKe(AW0|tg#p0WjCRA+o/-8ul@M;8l|2-[ZKefv)l8tdh&<frU,e/@e*P>]j,PF*7x;H(F-PJoq2&*D~L2es4Lth8CVff&GinO:}JW4}l",
    "F9%wCWU$a2G1I;t@nSz#`cH:hEi:zUO]A&@2M<:}+R;,x<Ghyt/8B-u@r*8i`z_S[tCo=M&cdn*)h=vYSV:}5pV%PtN%HN|*JmADC)FcPX|1<3O@<E",
    "(SkI]]*>D46rALbzb7AnW[6d&)'@u{oe-^:&_|'#vlO%v~$^d@(I&!M#8'E$XVF~$a4ZOrEm@>=Nl@q3rS[H^p58IfA[8.n)ro)Ut)A#_E+,n%P=Y;VhFoUMg8&b9~CR,aK1P1JCg2",
    "X$$3ip5SENC})LSaH*Wz.^2.T2`~88'Od]mtA_nBxJx|,eYJsdgo:n,g/N}B!B-14cpXgJL}UB}6w^W*1_R.[|:_gKQ_``$X-[KdYi[82B#.Zbb&))SyRxzY",
    "9JIg74F%@v+ON02+9blMEzI0,#od9YfmF3`7;+=4@T_w`eOFBq,oWW(#f9~6dZ:ICuk=rR#65-bX(m5h>!nb1#$H(#k0*W(D]/+#ZVdLr2*FT9IF9.d~[Pr{{{/nx8VGX~U:GM&rY_-FlSi",
    "hn~r(FEv}j:U,>fdm@I+-6DIBa4Aywxd)M^%5$[#nSKcanK#@7NtiUebkyTxomHrZ,s2AP#ytfiQ0r43gU~2G(d-K6r9)-'v$TIp/.,uumj5DPVZcb3Sn.6BBaJA$5:B!Ymk'bial^Y`w",
    "!3H]P72>vf#Q-wYer$Z8N75M84l78Om/U8pK[f|X.1FCo#|$|'02x<>.]Ep1[XqMh$J.)x#Stg=.@5tQ$3h1#f}V.a1mjW~q@w~ryPF{Ybw8O^GZh6=Y4^Ry9Zs>XE&GF,",
    "[f_TKZS:rmG@_N06gWNmQyZ4d84+jZ=r%:T8fE_#I4#!APvsHK}]q63@5~3IjKG[pw^@:v5:0IHfW1^(~VJ!C0q&^B>p+oK3][=so1+2ppfd*&8k9EV#YbH.ct9D1MMs!,%29rsz",
    "Au${LxcJBXSAcO6P=6Zu(7u(3,OwXZ(1uxSw@9'RWgWL-cCp(/7st[Wi]K[4nEz}nw*nZ;~@mh$]RrG/.:1dkyM;Sg8v0o992Gc&$SUUaMF);#{qt.C/J9N==PD0|cGEDC|",
    "w=kkH~APG:]k0E'6fSOt1Ks}AZq<r{wTb[(%ITn:x{!u|[9=S0L_3K}.zm^.66v.=F/.oz-(B1pU<,h!sE@xCgkjRn0S.yr|,>k}cdE^|Z@WdJIUYPT;h",
    "=sNNVn=7WI78sEQ&Rb.YS)zxr)1:*M0.%vKjT^0OP3r{A9@gTM7_S++)5pDu]e(8=itB0OO.<pF~-uK93<NzTl'P3W(x<iNC5zRxMC]y=5C;ZO3L8IZ'=Dbc1FpSq41",
    "Du1,:]t7r1A+]pd,QqAy;IFnvx&G}h4Xv`7K:=FPbsgIoL_@)1ol)q1UmfL/DD|]{WEm.-G)~9(OK|v{MAB6]5Q`4)hSC@*iX7P*Z2U0`mj,NHAM15's<<",
    "T(JxMad_F64l[RSole%r{`]CQG|%y|=m%#Mo%4.lq=nnQNZ*T^`1_cH2R~G]'*oqZe6fbw+_X;O4YtfmjvBU_D#Zw5%&4st0zge#$uFo|XKMY{r'!33882++|bl",
    "SlIcOm['kq;@x3L9k(=K]7y#epCk~nFf|<cRZNei>5X.jD17V#>ZZp<rT^Sy5)KiA7yC&`//_mj6@HHsKJRef/i.&'&fwb(kW39.1|hO)NBb_#@7ry;j.8f",
    "7EU>S2sY88SERO$mr}81mgRoZrrm)>Il+/d||}cKNs-Epn!htH~V8&k+`j8s&({TrdP0H(LL''/!,S2S&EOGeaPs5{.A/mC!+{78DZ/eH(96Dm=Rg4*lR'~qJ",
    "uHD)kXsx@xMyg%Oc3Hh*];K|$[L<7]'Q[.0kdwI'Bj:NPYKm]4HQ2p{E{6{ClPORv@gTphIS%f5esHF6&OouIo6|tP/[18/vk'^Xkn;ow^{Cq$%~au",
    "HE]fnSd4ybIVR]Xx~a*OAi)u4tbnEwe^p)w2=~ACLmjSUi~[@H!/$xm02V~nBf%b#qq^Mn'Zjt6{jXgN$'7B*OH;9zk3='tHu3a|]V;)<.k",
    "gqxi,6&G_k*$%P`:ux[;9fy9[4rZ}bH(T^(t,HDE37b;(T}}y{hHx3)]%D8L0eae]dR$u%{Ja){9h51h(YRNlU[7Y{*[&|o+`YeH5rz{Vz-s1~*gbxzlG|hs",
    "({yZ@~+GvE+&IPdn|XL{!k2>8+WRk:Gg/CAD[w+fx%IGl_q*56(/B;A_SqzyXv4Ah.m:/n=l+R:-FDlh::M*-@>uR2s1Dq3),h@FGjb3y</dz",
    "O35#}qvHFC>@NJU,09U>Bt!6d$%etnyVT-=k[6,=q`lI!Cd<y::fw$OPTf`Z-@|xMLJ>JJVabE3JRoJEc8[e/{{i{xqDh%q5h#[5*8CRw7l]2)+QaS939F&d`JL_R]4/",
    "u]pnzBo7;28]^<Q5/b$B7~G<]1q2Io=eT,EikL%^zr*XY(3|(k<l&0wo|jc1LawX'PKeZlA@x`}bl~,:aWK.9o}POS2#5w$#I>CJ}ngGZ`EY^Z@H,_)Ho:t|Q",
    ",YG47W@7Si*Se%0R]VxlLgVN@tBf-`H8V#2oTTy5FwF8-R,u,%o-(kDxZ4ZFItE#Vp3RI8QRua^{LOC_w:rdkCRNUtU-k2(|ZG*Nt^rpo59F43d9[:4HuE|WMkn~",
    "3L`{H+fP=P*'_#2UCd#oeqe%TH{lI|Z[6gjV54c}ib+)6CaF@pf#VjYfRU:+n9Voh<kF^Mj{'xl=6)x'/8sBLfz_!]oTb>YTS&Yi~FS%.,93(k|q^",
    "p$4W)H]_PYKeVDaAwm^R&p=.<Ok,c%-h<0QTOsujnmima~HNMs@s<0Bk1MKv~O'R/DP./Al1fawaRYU[OT{<V6+Uq~jF8^pf7{sn0e'AW'}%VZI:p3EI,I(DGwH^s(/D",
};

// Numeric keys: the low 16 bits start the keyed stream.
const uint32_t NumericKeys[KeyCount] = {
    0x2455EAD0u, 0xC9ECFA36u, 0xD411D1C1u, 0x6BACBF5Du, 0x05E249E4u, 0xF0AC4E92u,
    0xDB7A909Du, 0x15C93994u, 0xDB59ED53u, 0xBC8D90F8u, 0x54D6CCE0u, 0x134FEA36u,
    0xB482F0C8u, 0x0C864D10u, 0x79B494D8u, 0x11F509ACu, 0xBF458E3Cu, 0x01330912u,
    0xA1C8061Au, 0xC9DEAE4Du, 0xB8008A8Cu, 0x3A337E7Cu, 0x048059E5u, 0x27C659C3u,
    0xFCE881B5u, 0xB51445C3u, 0xB30BAAFAu, 0x9D9CD384u, 0x751CBA9Bu, 0xFF485584u,
    0x47BC6BA9u, 0x16900C7Au, 0xDE29D974u, 0x4E1C5AF4u, 0xED72A761u, 0xA8E44074u,
    0x53714B8Bu, 0x2EFE9012u, 0x98C8E373u, 0xA0481E93u, 0x5D45E00Cu, 0x849F9672u,
    0xB663A9BEu, 0x3ADC5702u, 0x60913925u, 0xD17EB612u, 0x5E58541Fu, 0xECA5FEA7u,
    0x3608CA17u, 0xDE95FDF1u, 0x6B79219Au, 0xCFC44293u, 0xFB96D901u, 0x88BB4E3Fu,
    0x21504826u, 0xF3FA302Fu, 0x5DC6104Eu, 0xA0086A5Fu, 0xEA6AEE19u, 0x61A0981Eu,
};

// Caller-key tags: characters 13 and 14 of a wrapped key choose its start value.
const wchar_t* const CallerKeyTags[9] = {L"4L", L"JU", L"JZ", L"NV", L"TF", L"UZ", L"Y8", L"ZC", L"ZR"};

// A character outside the alphabet counts as zero: stored blocks were read that way.
int AlphabetValue(wchar_t c) { return std::max(0, ClassLib::Base64DigitValue(c)); }

bool IsBlank(const std::wstring& text) {
    for (wchar_t c : text)
        if (c > 32) return false;
    return true;
}

std::mt19937& Random() {
    thread_local std::mt19937 engine([] {
        std::random_device device;
        const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        return static_cast<uint32_t>(device()) ^ static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(ticks >> 32);
    }());
    return engine;
}

int RandomBelow(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(Random()); }

// A key index whose trailer character chr(65 + index) would not be a letter is drawn
// again from a narrower range that always gives a letter.
int RedrawSmallIndex() { return RandomBelow(7) + RandomBelow(5) + RandomBelow(7); }
bool TrailerIsLetter(int index) { return index < 26 || index > 31; }

std::string HexByte(unsigned value) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", value & 0xFF);
    return digits;
}

unsigned XorOf(const std::string& bytes, size_t from = 0) {
    unsigned sum = 0;
    for (size_t i = from; i < bytes.size(); ++i) sum ^= static_cast<unsigned char>(bytes[i]);
    return sum;
}

void MixWithKey(std::string& bytes, const std::string& key) {
    if (key.empty()) return;
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(bytes[i] ^ key[i % key.size()]);
}

void Stream(std::string& bytes, uint16_t start, bool encoding) {
    uint16_t k = start;
    const size_t count = bytes.size() % 65536;  // a 16-bit count: longer texts keep their tail as it is
    for (size_t i = 0; i < count; ++i) {
        const auto in = static_cast<unsigned char>(bytes[i]);
        const auto out = static_cast<unsigned char>(in ^ (k >> 8));
        bytes[i] = static_cast<char>(out);
        const unsigned coded = encoding ? out : in;
        k = static_cast<uint16_t>((coded + k) * 52845u + 22719u);
    }
}

}  // namespace

std::wstring PackBytes(const std::string& bytes) {
    std::wstring packed;
    packed.reserve(bytes.size() / 3 * 4 + 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t group = std::min<size_t>(3, bytes.size() - i);
        uint32_t v = 0;
        for (size_t j = 0; j < group; ++j) v |= uint32_t(static_cast<unsigned char>(bytes[i + j])) << (8 * j);
        for (size_t j = 0; j <= group; ++j) packed += static_cast<wchar_t>(ClassLib::Base64Alphabet[(v >> (6 * j)) & 63]);
    }
    return packed;
}

std::string UnpackText(const std::wstring& packed) {
    std::string bytes;
    bytes.reserve(packed.size() / 4 * 3 + 3);
    for (size_t i = 0; i < packed.size(); i += 4) {
        const size_t group = std::min<size_t>(4, packed.size() - i);
        if (group < 2) break;  // one character holds less than a byte
        uint32_t v = 0;
        for (size_t j = 0; j < group; ++j) v |= uint32_t(AlphabetValue(packed[i + j])) << (6 * j);
        for (size_t j = 0; j + 1 < group; ++j) bytes += static_cast<char>((v >> (8 * j)) & 0xFF);
    }
    return bytes;
}

std::string StreamEncode(std::string bytes, uint16_t start) {
    Stream(bytes, start, true);
    return bytes;
}

std::string StreamDecode(std::string bytes, uint16_t start) {
    Stream(bytes, start, false);
    return bytes;
}

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint16_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    const size_t n = bytes.size();
    auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    auto follows = [&](size_t i) { return i < n && (at(i) & 0xC0) == 0x80; };
    for (size_t i = 0; i < n;) {
        const unsigned char b = at(i);
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
        } else if (b >= 0xC2 && b < 0xE0 && follows(i + 1)) {
            out += static_cast<wchar_t>(((b & 0x1F) << 6) | (at(i + 1) & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b < 0xF0 && follows(i + 1) && follows(i + 2)) {
            const uint32_t c = ((b & 0x0F) << 12) | ((at(i + 1) & 0x3F) << 6) | (at(i + 2) & 0x3F);
            out += c >= 0x800 ? static_cast<wchar_t>(c) : L'\xFFFD';
            i += 3;
        } else if (b >= 0xF0 && b < 0xF5 && follows(i + 1) && follows(i + 2) && follows(i + 3)) {
            const uint32_t c = ((b & 0x07) << 18) | ((at(i + 1) & 0x3F) << 12) | ((at(i + 2) & 0x3F) << 6) |
                               (at(i + 3) & 0x3F);
            if (c >= 0x10000 && c <= 0x10FFFF) {
                out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
                out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                out += L'\xFFFD';
            }
            i += 4;
        } else {
            out += L'\xFFFD';  // only a tampered text that kept its checksum gets here
            ++i;
        }
    }
    return out;
}

std::wstring UnwrapCallerKey(const std::wstring& key) {
    const std::wstring failed = L"error";
    if (key.size() < 2 + 14) return failed;
    const std::wstring rest = key.substr(1, key.size() - 2);
    unsigned sum = 0;
    for (wchar_t c : rest) sum ^= static_cast<unsigned>(c) & 0xFF;
    const std::string hex = HexByte(sum);
    if (key.front() != static_cast<wchar_t>(hex[0]) || key.back() != static_cast<wchar_t>(hex[1])) return failed;
    int tag = 10;
    for (int i = 0; i < 9; ++i)
        if (rest.compare(12, 2, CallerKeyTags[i]) == 0) {
            tag = i + 1;
            break;
        }
    const std::string number = StreamDecode(UnpackText(rest.substr(0, 12)), static_cast<uint16_t>(tag));
    if (number.empty()) return failed;
    unsigned long m = 0;
    for (char c : number) {
        if (c < '0' || c > '9' || m > 100000000ul) return failed;
        m = m * 10 + static_cast<unsigned>(c - '0');
    }
    return FromUtf8(StreamDecode(UnpackText(rest.substr(14)), static_cast<uint16_t>(m)));
}

std::wstring EncodeUserBlock(const std::wstring& text, const std::wstring& callerKey) {
    if (IsBlank(text)) return L"error#1";
    const std::wstring unwrapped = callerKey.empty() ? std::wstring() : UnwrapCallerKey(callerKey);
    int k = RandomBelow(57);
    std::string key;
    if (!IsBlank(unwrapped)) {
        k = 0;
        key = ToUtf8(unwrapped);
    } else {
        if (k == 0) k = 1;
        if (!TrailerIsLetter(k)) {
            k = RedrawSmallIndex();
            if (k == 0) k = 1;
        }
        key = KeyStrings[k];
    }
    const std::string body = ToUtf8(text);
    std::string bytes = HexByte(XorOf(body)) + body;
    MixWithKey(bytes, key);
    int s = RandomBelow(57);
    if (!TrailerIsLetter(s)) s = RedrawSmallIndex();
    Stream(bytes, static_cast<uint16_t>(NumericKeys[s] & 0xFFFF), true);
    std::wstring coded = PackBytes(bytes);
    coded += static_cast<wchar_t>(65 + s);
    coded += static_cast<wchar_t>(65 + k);
    return coded;
}

std::wstring DecodeUserBlock(const std::wstring& coded, const std::wstring& callerKey) {
    std::wstring unwrapped;
    if (!callerKey.empty()) {
        unwrapped = UnwrapCallerKey(callerKey);
        if (unwrapped.rfind(L"error", 0) == 0) return L"error #8";
    }
    std::wstring rest = coded;
    if (rest.empty() || rest.back() < L'A' || rest.back() - 65 > 57) return L"error#2";
    const int k = rest.back() - 65;
    rest.pop_back();
    std::string key;
    if (!callerKey.empty())
        key = ToUtf8(unwrapped);
    else if (k > 0)
        key = KeyStrings[k];
    else
        return L"error#3";
    // A numeric-key index below 0 would read outside the table: a damaged text.
    if (rest.empty() || rest.back() < L'A' || rest.back() - 65 > 59) return L"error#4";
    const int s = rest.back() - 65;
    rest.pop_back();
    std::string bytes = UnpackText(rest);
    Stream(bytes, static_cast<uint16_t>(NumericKeys[s] & 0xFFFF), false);
    if (bytes == "error#5") return L"error#6";
    MixWithKey(bytes, key);
    if (bytes.size() < 2 || bytes.compare(0, 2, HexByte(XorOf(bytes, 2))) != 0) return L"error#7";
    return FromUtf8(bytes.substr(2));
}

}  // namespace UserBlockCoding
